#include "session/TpLoginDelegate.h"

#include "app/LocalizedStrings.h"
#include "session/TpLoginViewController.h"
#include "ui/ImageAsset.h"

namespace zorlet {

TpLoginDelegate::TpLoginDelegate(ViewController* owner, bool isBind) : isBind(isBind), owner_(owner) {}

TableViewCellPtr TpLoginDelegate::cellForRow(TableView& tableView, IndexPath indexPath) {
    static const std::string identifier = "TpLoginCell";
    auto cell = tableView.dequeueReusableCell(identifier);
    if (!cell) {
        cell = std::make_shared<TableViewCell>(TableViewCell::Style::Default, identifier);
        cell->setAccessoryType(TableViewCell::AccessoryType::DisclosureIndicator);
    }
    if (indexPath.row < 0 || indexPath.row >= static_cast<int>(kExternalProviders.size())) {
        return cell;
    }
    const ExternalProvider& provider = kExternalProviders[indexPath.row];
    cell->setId("tp" + std::to_string(provider.tpId));
    cell->imageView().setImage(ImageAsset::named(provider.logo));
    cell->textLabel().setText(
        LocalizedStrings::localizedString(isBind ? "tpBind.%d.title" : "tpLogin.%d.title", provider.tpId));
    return cell;
}

void TpLoginDelegate::didSelectRow(TableView& tableView, IndexPath indexPath) {
    tableView.deselectRow(indexPath, true);
    if (owner_ == nullptr || indexPath.row < 0 ||
        indexPath.row >= static_cast<int>(kExternalProviders.size())) {
        return;
    }
    auto screen = std::make_shared<TpLoginViewController>(
        kExternalProviders[indexPath.row].tpId,
        isBind ? TpLoginViewController::kBind : TpLoginViewController::kLogin);
    owner_->presentModalViewController(screen, true);
}

}  // namespace zorlet
