#include "host/HeadlessDriver.h"

#include "host/FlowRunner.h"
#include "platform/MainLoop.h"

#include <unistd.h>

#include <atomic>
#include <chrono>
#include <ostream>

namespace zorlet {

HeadlessDriver::HeadlessDriver(std::ostream& out) : out_(out) {
    MainLoop::main().clock().setVirtual(true);
}

HeadlessDriver::~HeadlessDriver() {
    app_.terminate();
}

std::string HeadlessDriver::uniqueToken() {
    static std::atomic<int> counter{0};
    auto now = std::chrono::duration_cast<std::chrono::milliseconds>(
                   std::chrono::system_clock::now().time_since_epoch())
                   .count();
    return std::to_string(now % 100000000) + std::to_string(::getpid() % 1000) + std::to_string(counter++);
}

int HeadlessDriver::runFlowFile(const std::filesystem::path& file) {
    FlowParser::Variables variables = variables_;
    variables.emplace("UNIQUE", uniqueToken());
    auto flow = FlowParser::parseFile(file, variables);
    if (!flow) {
        out_ << "flow " << file.string() << ": " << flow.error() << "\n" << std::flush;
        return kBadFlow;
    }
    return runFlow(*flow);
}

int HeadlessDriver::runFlow(const Flow& flow) {
    FlowRunner runner(app_, out_);
    if (!screenshotFolder_.empty()) {
        runner.setScreenshotFolder(screenshotFolder_);
    }
    return runner.run(flow).passed ? kPassed : kFailed;
}

}  // namespace zorlet
