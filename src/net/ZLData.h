#pragma once

#include "net/Pager.h"
#include "net/Record.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <unordered_set>
#include <vector>

namespace zorlet {

// The rows of one paged list and the identities already shown since the last
// refresh, so that a record arriving again on a later page is not shown twice.
class ZLData {
public:
    ZLData() = default;
    explicit ZLData(PagerPtr pager) : pager_(std::move(pager)) {}

    std::size_t count() const { return data_.size(); }
    const RecordPtr& objectAtIndex(std::size_t index) const { return data_.at(index); }
    const std::vector<RecordPtr>& data() const { return data_; }
    // Rows of the table: the records, plus the more row while a next page exists.
    std::size_t cellRows() const { return data_.size() + (pager_ && pager_->hasNext ? 1 : 0); }

    void addObject(RecordPtr record, std::optional<std::int64_t> identity);
    void insertObjectAtHead(RecordPtr record, std::optional<std::int64_t> identity);
    void addIdentity(std::int64_t identity);
    bool hasIdentity(std::int64_t identity) const { return identitySet_.count(identity) > 0; }
    void addObject(RecordPtr record);
    void insertObjectAtHead(RecordPtr record);
    // The identity stays known, so later pages do not bring the record back before a refresh.
    void removeObjectAtIndex(std::size_t index);
    void clear();

    void loadPager(const Json& object);
    static std::shared_ptr<ZLData> loadPager(const Json& object, std::shared_ptr<ZLData> old);

    const PagerPtr& pager() const { return pager_; }
    void setPager(PagerPtr pager) { pager_ = std::move(pager); }

private:
    std::vector<RecordPtr> data_;
    std::unordered_set<std::int64_t> identitySet_;
    PagerPtr pager_;
};

using ZLDataPtr = std::shared_ptr<ZLData>;

}  // namespace zorlet
