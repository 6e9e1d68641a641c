#pragma once

#include "ui/AlertRegistry.h"
#include "ui/Application.h"
#include "ui/Keyboard.h"
#include "ui/UserLocationSource.h"

namespace zorlet::test {

// The toolkit's process-wide state back to how a fresh launch finds it: no
// alert or sheet on screen, no focused input, no key window, nobody located.
// Tests run one after another in one process, so each starts and ends here.
inline void resetToolkitState() {
    AlertRegistry::shared().clear();
    Keyboard::shared().reset();
    Application::shared().reset();
    UserLocationSource::shared().reset();
}

}  // namespace zorlet::test
