#include "host/FlowDeviceCommands.h"

#include "host/AppHost.h"
#include "host/ScreenQuery.h"
#include "ui/Application.h"
#include "ui/ComposeViewController.h"
#include "ui/ViewTreeDump.h"

namespace zorlet {

namespace {

std::string joined(const std::vector<std::string>& recipients) {
    std::string out;
    for (const auto& recipient : recipients) {
        out += (out.empty() ? "" : ", ") + recipient;
    }
    return out;
}

}  // namespace

bool FlowDeviceCommands::handles(const std::string& name) {
    return name == "background" || name == "foreground" || name == "answerComposer" ||
           name == "assertComposer" || name == "assertOpenedUrl";
}

bool FlowDeviceCommands::run(const FlowCommand& command, std::string& error) {
    const std::string& name = command.name;
    if (name == "background") {
        if (!app_.enterBackground()) {
            error = "the app is already in the background";
            return false;
        }
        app_.settle();
        return true;
    }
    if (name == "foreground") {
        if (!app_.enterForeground()) {
            error = "the app is not in the background";
            return false;
        }
        app_.settle();
        return true;
    }
    if (name == "answerComposer") {
        bool ok = answerComposer(command.arguments["result"].get<std::string>(), error);
        app_.settle();
        return ok;
    }
    if (name == "assertComposer") {
        return assertComposer(command.arguments, error);
    }
    if (name == "assertOpenedUrl") {
        return assertOpenedUrl(command.arguments, error);
    }
    error = "unknown command";
    return false;
}

bool FlowDeviceCommands::answerComposer(const std::string& answer, std::string& error) {
    ComposeResult result;
    if (answer == "sent") {
        result = ComposeResult::Sent;
    } else if (answer == "cancelled") {
        result = ComposeResult::Cancelled;
    } else if (answer == "failed") {
        result = ComposeResult::Failed;
    } else {
        error = "the answer is sent, cancelled or failed, not " + ViewTreeDump::quoted(answer);
        return false;
    }
    ComposeViewController* composer = ComposeViewController::presentedComposer();
    if (composer == nullptr) {
        error = "no message or mail composer is shown";
        return false;
    }
    auto held = composer->shared_from_this();
    composer->answer(result);
    // A delegate that forgot to close its composer leaves the user stuck behind it; a flow goes on.
    if (ComposeViewController::presentedComposer() == composer) {
        composer->dismissModalViewController(false);
    }
    return true;
}

bool FlowDeviceCommands::assertComposer(const Json& arguments, std::string& error) {
    ComposeViewController* composer = ComposeViewController::presentedComposer();
    if (composer == nullptr) {
        error = "no message or mail composer is shown";
        return false;
    }
    const OutgoingMessage& message = composer->message();
    struct Field {
        const char* key;
        std::vector<std::string> shown;
    };
    // The body matches as written or as the reader sees it (an HTML body without its tags).
    const Field fields[] = {{"recipients", {joined(message.recipients)}},
                            {"subject", {message.subject}},
                            {"body", {message.body, message.plainBody()}}};
    for (const Field& field : fields) {
        if (!arguments.contains(field.key)) {
            continue;
        }
        std::string pattern = arguments[field.key].get<std::string>();
        bool matched = false;
        for (const std::string& text : field.shown) {
            matched = matched || ScreenQuery::textMatches(text, pattern);
        }
        if (!matched) {
            error = std::string("the composer's ") + field.key + " is " +
                    ViewTreeDump::quoted(field.shown[0]) + ", not " + ViewTreeDump::quoted(pattern);
            return false;
        }
    }
    return true;
}

bool FlowDeviceCommands::assertOpenedUrl(const Json& arguments, std::string& error) {
    const auto& opened = Application::shared().openedUrls();
    if (opened.empty()) {
        error = "no link was opened";
        return false;
    }
    if (!arguments.contains("url")) {
        return true;
    }
    std::string pattern = arguments["url"].get<std::string>();
    if (!ScreenQuery::textMatches(opened.back(), pattern)) {
        error = "the last link opened was " + ViewTreeDump::quoted(opened.back()) + ", not " +
                ViewTreeDump::quoted(pattern);
        return false;
    }
    return true;
}

}  // namespace zorlet
