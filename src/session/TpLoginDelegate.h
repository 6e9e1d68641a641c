#pragma once

#include "session/ExternalProvider.h"
#include "ui/TableView.h"

namespace zorlet {

class ViewController;

// The three-row list of external providers (weibo, qq, douban). Choosing one
// opens its authorization pages modally over the screen that owns the list:
// to sign in, or to bind the provider to the signed-in account.
class TpLoginDelegate : public TableViewDataSource, public TableViewDelegate {
public:
    // `owner` shows the list and presents the web screen; not owned.
    TpLoginDelegate(ViewController* owner, bool isBind);

    int numberOfRows(TableView&, int section) override { return static_cast<int>(kExternalProviders.size()); }
    TableViewCellPtr cellForRow(TableView& tableView, IndexPath indexPath) override;
    double heightForRow(TableView&, IndexPath) override { return kRowHeight; }
    void didSelectRow(TableView& tableView, IndexPath indexPath) override;

    static constexpr double kRowHeight = 35;

    bool isBind = false;

private:
    ViewController* owner_;
};

}  // namespace zorlet
