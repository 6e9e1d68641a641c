#pragma once

#include "platform/MainLoop.h"
#include "ui/AlertRegistry.h"
#include "ui/Application.h"
#include "ui/Keyboard.h"
#include "ui/NotificationCenter.h"
#include "ui/UserLocationSource.h"

#include "support/ToolkitState.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zorlet::test {

// Every toolkit test starts from a quiet screen: no alerts, no focus, no key
// window, virtual time.
class UiTest : public ::testing::Test {
protected:
    void SetUp() override {
        MainLoop::main().clock().setVirtual(true);
        resetToolkitState();
    }
    void TearDown() override {
        MainLoop::main().runPending();
        resetToolkitState();
        MainLoop::main().runPending();
    }
};

// Collects life-cycle and delegate calls as readable lines.
class CallLog {
public:
    void add(std::string line) { lines_.push_back(std::move(line)); }
    const std::vector<std::string>& lines() const { return lines_; }
    std::vector<std::string> take() {
        std::vector<std::string> out;
        out.swap(lines_);
        return out;
    }

private:
    std::vector<std::string> lines_;
};

}  // namespace zorlet::test
