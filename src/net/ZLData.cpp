#include "net/ZLData.h"

namespace zorlet {

void ZLData::addObject(RecordPtr record, std::optional<std::int64_t> identity) {
    if (identity) {
        if (!identitySet_.insert(*identity).second) {
            return;
        }
    }
    data_.push_back(std::move(record));
}

void ZLData::insertObjectAtHead(RecordPtr record, std::optional<std::int64_t> identity) {
    if (identity) {
        if (!identitySet_.insert(*identity).second) {
            return;
        }
    }
    data_.insert(data_.begin(), std::move(record));
}

void ZLData::addIdentity(std::int64_t identity) {
    identitySet_.insert(identity);
}

void ZLData::addObject(RecordPtr record) {
    data_.push_back(std::move(record));
}

void ZLData::insertObjectAtHead(RecordPtr record) {
    data_.insert(data_.begin(), std::move(record));
}

void ZLData::removeObjectAtIndex(std::size_t index) {
    if (index < data_.size()) {
        data_.erase(data_.begin() + static_cast<std::ptrdiff_t>(index));
    }
}

void ZLData::clear() {
    data_.clear();
    identitySet_.clear();
}

void ZLData::loadPager(const Json& object) {
    if (!pager_) {
        pager_ = Pager::pagerConvertFromDictionary(object);
        return;
    }
    pager_->updatePagerFromDictionary(object);
    if (pager_->currentPage == 1) {
        clear();
    }
}

std::shared_ptr<ZLData> ZLData::loadPager(const Json& object, std::shared_ptr<ZLData> old) {
    if (old) {
        old->loadPager(object);
        return old;
    }
    return std::make_shared<ZLData>(Pager::pagerConvertFromDictionary(object));
}

}  // namespace zorlet
