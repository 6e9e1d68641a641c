#include "net/CheckNetwork.h"

#include "net/UrlUtils.h"
#include "platform/Reachability.h"
#include "ui/AlertView.h"

namespace zorlet {

bool CheckNetwork::isExistenceNetworkWithoutAlert() {
    NetworkStatus status = Reachability::shared().statusForHost(UrlUtils::apiHost());
    return status == NetworkStatus::ReachableViaWiFi || status == NetworkStatus::ReachableViaWWAN;
}

bool CheckNetwork::isExistenceNetwork() {
    if (isExistenceNetworkWithoutAlert()) {
        return true;
    }
    AlertView::create("网络状态", "网络不存在", nullptr, "确定")->show();
    return false;
}

}  // namespace zorlet
