#pragma once

#include "app/ScreenFactory.h"
#include "model/RecordConverters.h"
#include "net/UrlUtils.h"
#include "platform/CookieStore.h"
#include "platform/HttpEngine.h"
#include "platform/HttpQueue.h"
#include "platform/Reachability.h"
#include "sandbox/SandboxServer.h"
#include "session/LoginUser.h"
#include "session/UserContext.h"
#include "ui/AlertRegistry.h"
#include "ui/Application.h"
#include "ui/Keyboard.h"
#include "ui/Window.h"

#include "support/LoopTest.h"
#include "support/ProcessState.h"

#include <filesystem>
#include <memory>
#include <random>

namespace zorlet::test {

// The client against a fresh in-process sandbox of its own, signed out, with
// a window; the app's shared state is reset before and after each journey so
// journeys never see each other.
class SandboxJourneyTest : public LoopTest {
protected:
    virtual bool seedsDemo() const { return false; }

    void SetUp() override {
        LoopTest::SetUp();
        folder_ =
            std::filesystem::temp_directory_path() / ("zorlet-e2e-" + std::to_string(std::random_device()()));
        std::filesystem::create_directories(folder_);
        sandbox::SandboxOptions options;
        options.databasePath = folder_ / "sandbox.db";
        options.seedDemo = seedsDemo();
        options.passwordCost = sandbox::Passwords::Cost::Minimum;
        auto started = sandbox::SandboxServer::start(options);
        ASSERT_TRUE(started) << started.error();
        sandbox_ = std::move(*started);
        resetProcessState();
        UrlUtils::setBaseUrl(sandbox_->baseUrl());
        RecordConverters::registerAll();
        window_ = std::make_shared<Window>();
    }

    void TearDown() override {
        window_.reset();
        HttpQueue::shared().cancelAll();
        loop().runPending();
        resetProcessState();
        HttpEngine::shared().closeIdleConnections();
        sandbox_.reset();
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
        LoopTest::TearDown();
    }

    std::filesystem::path folder_;
    std::unique_ptr<sandbox::SandboxServer> sandbox_;
    std::shared_ptr<Window> window_;
};

}  // namespace zorlet::test
