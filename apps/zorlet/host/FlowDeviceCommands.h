#pragma once

#include "host/FlowCommand.h"
#include "platform/Result.h"

#include <string>

namespace zorlet {

class AppHost;

// The flow steps that act for the device and the system around the app
// rather than for a finger on the screen: the app going to the background
// and back, the user's answer to a message or mail composer, and what the
// app handed to the system (composed messages, opened links).
//
//   - background / - foreground
//   - answerComposer: sent | cancelled | failed
//   - assertComposer: {recipients: RE, subject: RE, body: RE}
//   - assertOpenedUrl: RE
//
// RE is matched like assertVisible's text: the exact text, or a regular
// expression matching all of it.
class FlowDeviceCommands {
public:
    explicit FlowDeviceCommands(AppHost& app) : app_(app) {}

    static bool handles(const std::string& name);
    // One step; a failure says why it did not work.
    Status run(const FlowCommand& command);

private:
    Status answerComposer(const std::string& answer);
    Status assertComposer(const Json& arguments);
    Status assertOpenedUrl(const Json& arguments);

    AppHost& app_;
};

}  // namespace zorlet
