#pragma once

#include "host/FlowCommand.h"
#include "platform/Clock.h"
#include "platform/Result.h"

#include <filesystem>
#include <functional>
#include <iosfwd>
#include <string>

namespace zorlet {

class AppHost;

// Runs the steps of a flow against the running app, one at a time, waiting
// after each until the app is idle again. Every step is printed; the first
// step that fails (and is not optional) ends the run, and the text dump of
// the screen is printed with the reason.
class FlowRunner {
public:
    struct Result {
        bool passed = true;
        int stepsRun = 0;
        // 1-based number of the failed step, 0 when none failed.
        int failedStep = 0;
        std::string message;
        std::string screenDump;
    };
    // Called after each step that succeeded (the tour takes its pictures here).
    using StepObserver = std::function<void(const FlowCommand& command)>;

    FlowRunner(AppHost& app, std::ostream& out);

    // Where `takeScreenshot` writes relative paths; default: the working folder.
    void setScreenshotFolder(std::filesystem::path folder) { screenshotFolder_ = std::move(folder); }
    void setStepObserver(StepObserver observer) { observer_ = std::move(observer); }

    Result run(const Flow& flow);
    // One step; a failure says why it did not work.
    Status runCommand(const FlowCommand& command);

private:
    Status tapOn(const Json& arguments);
    Status assertVisible(const Json& arguments, bool visible);
    Status swipe(const Json& arguments);
    Status takeScreenshot(const std::string& path);
    void waitForAnimationToEnd(Duration timeout);
    void advanceClock(Duration delta);
    void deliverPush(const Json& arguments);
    Status pickImage(const std::string& file);
    Status answerAlert(const std::string& button);
    Status dumpScreen(const Json& arguments);
    std::filesystem::path resolve(const std::filesystem::path& folder, const std::string& path) const;
    std::string screenDump() const;

    AppHost& app_;
    std::ostream& out_;
    std::filesystem::path flowFolder_;
    std::filesystem::path screenshotFolder_;
    StepObserver observer_;
};

}  // namespace zorlet
