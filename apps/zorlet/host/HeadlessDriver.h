#pragma once

#include "host/AppHost.h"
#include "host/FlowParser.h"

#include <filesystem>
#include <iosfwd>

namespace zorlet {

// Runs flows without a display: virtual time (the clock moves only when a
// flow advances it), real requests to the server, pictures from the renderer.
class HeadlessDriver {
public:
    // Exit statuses of a flow run.
    static constexpr int kPassed = 0;
    static constexpr int kFailed = 1;
    static constexpr int kBadFlow = 2;

    explicit HeadlessDriver(std::ostream& out);
    ~HeadlessDriver();

    // Variables the flows can use as ${NAME}, beside the built-in ${UNIQUE}.
    void setVariables(FlowParser::Variables variables) { variables_ = std::move(variables); }
    const FlowParser::Variables& variables() const { return variables_; }
    void setScreenshotFolder(std::filesystem::path folder) { screenshotFolder_ = std::move(folder); }

    int runFlowFile(const std::filesystem::path& file);
    int runFlow(const Flow& flow);

    AppHost& app() { return app_; }
    // A value no earlier run has used (new accounts in flows).
    static std::string uniqueToken();

private:
    std::ostream& out_;
    AppHost app_;
    FlowParser::Variables variables_;
    std::filesystem::path screenshotFolder_;
};

}  // namespace zorlet
