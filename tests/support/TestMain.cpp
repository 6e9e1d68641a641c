#include "support/LeakSuppressions.h"

#include "platform/DataFolder.h"
#include "platform/MainLoop.h"
#include "platform/UserDefaults.h"

#include <gtest/gtest.h>
#include <spdlog/spdlog.h>

#include <unistd.h>
#include <filesystem>

// Every test program gets a data folder of its own so runs never see each
// other's files or the user's real data.
int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    spdlog::set_level(spdlog::level::warn);
    auto root = std::filesystem::temp_directory_path() / ("zorlet-test-" + std::to_string(::getpid()));
    zorlet::DataFolder::shared().setRoot(root);
    zorlet::UserDefaults::standard().reload(zorlet::DataFolder::shared().file("Preferences/defaults.json"));
    zorlet::MainLoop::main();
    int result = RUN_ALL_TESTS();
    // A test may end while a screen's request still runs on a worker.
    zorlet::MainLoop::main().finishBackgroundWork();
    std::error_code error;
    std::filesystem::remove_all(root, error);
    return result;
}
