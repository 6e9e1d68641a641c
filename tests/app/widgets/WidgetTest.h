#pragma once

#include "support/LoopTest.h"
#include "ui/AlertRegistry.h"
#include "ui/Keyboard.h"

namespace zorlet::test {

// Control tests start and end with no sheet on screen and no focused input.
class WidgetTest : public LoopTest {
protected:
    void SetUp() override {
        LoopTest::SetUp();
        AlertRegistry::shared().clear();
        Keyboard::shared().reset();
    }
    void TearDown() override {
        loop().runPending();
        AlertRegistry::shared().clear();
        Keyboard::shared().reset();
        LoopTest::TearDown();
    }
};

}  // namespace zorlet::test
