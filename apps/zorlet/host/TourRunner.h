#pragma once

#include "host/FlowParser.h"
#include "platform/Result.h"

#include <filesystem>
#include <iosfwd>
#include <set>
#include <string>
#include <vector>

namespace zorlet {

class AppHost;

// Walks through every screen the app has (guidance, welcome, registration,
// sign-in with the demo account, the tabs) with a built-in flow whose steps
// are all optional, so screens that do not exist yet are passed over. The
// first visit of each screen is written as a numbered PNG, and index.html
// shows them side by side.
class TourRunner {
public:
    struct Stop {
        std::string file;
        std::string screen;
        std::string step;
        std::set<std::string> standIns;  // pictures drawn as labelled boxes for want of an asset
    };

    // `variables` must name DEMO_EMAIL and DEMO_PASSWORD.
    TourRunner(AppHost& app, std::ostream& out, FlowParser::Variables variables);

    // A failure when the folder or a picture cannot be written, or when a
    // screen drew a stand-in for a picture without an asset (the pictures and
    // the index are written all the same, to see where).
    Status run(const std::filesystem::path& folder);
    const std::vector<Stop>& stops() const { return stops_; }

    static const char* builtInFlowText();

private:
    Status capture(const std::filesystem::path& folder, const std::string& step);
    Status writeIndex(const std::filesystem::path& folder) const;

    AppHost& app_;
    std::ostream& out_;
    FlowParser::Variables variables_;
    std::vector<Stop> stops_;
};

}  // namespace zorlet
