#include "net/CheckNetwork.h"

#include "net/UrlUtils.h"
#include "platform/MainLoop.h"
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
    // Synchronous account calls ask from a worker; alerts are views and live on the main loop.
    auto tell = [] { AlertView::create("网络状态", "网络不存在", nullptr, "确定")->show(); };
    if (MainLoop::main().isLoopThread()) {
        tell();
    } else {
        MainLoop::main().post(tell);
    }
    return false;
}

}  // namespace zorlet
