#pragma once

#include "host/AppHost.h"
#include "host/EmbeddedSandbox.h"
#include "host/FlowParser.h"
#include "host/FlowRunner.h"
#include "net/UrlUtils.h"
#include "platform/DataFolder.h"
#include "platform/HttpQueue.h"
#include "platform/MainLoop.h"
#include "platform/Reachability.h"
#include "ui/AlertRegistry.h"
#include "ui/Application.h"
#include "ui/Keyboard.h"
#include "ui/UserLocationSource.h"

#include "support/LoopTest.h"

#include <unistd.h>

#include <filesystem>
#include <memory>
#include <sstream>
#include <string>

namespace zorlet::test {

// One sandbox service for the whole test program: seeding the demo data is
// the slow part, and every test starts the app from a clean state anyway. Its
// folder goes with it when the program ends (ctest starts one program per test).
class SharedSandbox {
public:
    SharedSandbox()
        : folder_(std::filesystem::temp_directory_path() /
                  ("zorlet-host-sandbox-" + std::to_string(::getpid()))) {
        std::filesystem::remove_all(folder_);
        auto started = EmbeddedSandbox::start(folder_, sandbox::Passwords::Cost::Minimum);
        if (started) {
            sandbox_ = std::move(*started);
        } else {
            ADD_FAILURE() << "the sandbox did not start: " << started.error();
        }
    }
    ~SharedSandbox() {
        sandbox_.reset();
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    SharedSandbox(const SharedSandbox&) = delete;
    SharedSandbox& operator=(const SharedSandbox&) = delete;
    EmbeddedSandbox& get() { return *sandbox_; }

private:
    std::filesystem::path folder_;
    std::unique_ptr<EmbeddedSandbox> sandbox_;
};

inline EmbeddedSandbox& sharedSandbox() {
    static SharedSandbox shared;
    return shared.get();
}

inline FlowParser::Variables demoVariables() {
    return {
        {"DEMO_EMAIL", EmbeddedSandbox::demoAccount()},
        {"DEMO_PASSWORD", EmbeddedSandbox::demoPassword()},
        {"UNIQUE", std::to_string(::getpid()) + std::to_string(MainLoop::main().clock().uptime().count())}};
}

// The real client against the in-process sandbox, under virtual time.
class HostTest : public LoopTest {
protected:
    void SetUp() override {
        LoopTest::SetUp();
        UrlUtils::setBaseUrl(sharedSandbox().baseUrl());
        Reachability::shared().setNetworkAvailable(true);
        AlertRegistry::shared().clear();
        Keyboard::shared().reset();
        UserLocationSource::shared().reset();
        screenshots_ =
            std::filesystem::temp_directory_path() / ("zorlet-host-shots-" + std::to_string(::getpid()));
    }
    void TearDown() override {
        app_.terminate();
        Reachability::shared().setNetworkAvailable(true);
        AlertRegistry::shared().clear();
        Application::shared().reset();
        std::filesystem::remove_all(screenshots_);
        LoopTest::TearDown();
    }

    FlowRunner::Result runFlow(const std::string& text) {
        auto flow = FlowParser::parseText(text, demoVariables());
        EXPECT_TRUE(flow) << flow.error();
        if (!flow) {
            return {false, 0, 0, flow.error(), {}};
        }
        output_.str({});
        FlowRunner runner(app_, output_);
        runner.setScreenshotFolder(screenshots_);
        return runner.run(*flow);
    }

    // A flow file of this repository (flows/ or tests/host/flows/).
    FlowRunner::Result runFlowFile(const std::filesystem::path& file) {
        auto flow = FlowParser::parseFile(file, demoVariables());
        EXPECT_TRUE(flow) << flow.error();
        if (!flow) {
            return {false, 0, 0, flow.error(), {}};
        }
        output_.str({});
        FlowRunner runner(app_, output_);
        runner.setScreenshotFolder(screenshots_);
        return runner.run(*flow);
    }

    static std::filesystem::path sourceFolder() { return ZORLET_SOURCE_DIR; }

    AppHost app_;
    std::ostringstream output_;
    std::filesystem::path screenshots_;
};

}  // namespace zorlet::test
