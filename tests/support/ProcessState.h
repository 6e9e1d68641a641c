#pragma once

#include "app/ScreenFactory.h"
#include "platform/CookieStore.h"
#include "platform/Reachability.h"
#include "session/LoginUser.h"
#include "session/UserContext.h"

#include "support/ToolkitState.h"

#include <filesystem>

namespace zorlet::test {

// Everything the app keeps for the whole process back to how a fresh launch
// finds it: the toolkit quiet, nobody signed in, no stored tokens or cookies,
// the network up and the screen catalog without test stand-ins.
inline void resetProcessState() {
    resetToolkitState();
    UserContext::logout();
    CookieStore::shared().clearAll();
    std::filesystem::remove(LoginUser::dataFilePath());
    Reachability::shared().setNetworkAvailable(true);
    ScreenFactory::resetToCatalog();
}

}  // namespace zorlet::test
