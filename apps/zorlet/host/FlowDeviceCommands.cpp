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

Status FlowDeviceCommands::run(const FlowCommand& command) {
    const std::string& name = command.name;
    if (name == "background") {
        if (!app_.enterBackground()) {
            return Failure{"the app is already in the background"};
        }
        app_.settle();
        return {};
    }
    if (name == "foreground") {
        if (!app_.enterForeground()) {
            return Failure{"the app is not in the background"};
        }
        app_.settle();
        return {};
    }
    if (name == "answerComposer") {
        Status answered = answerComposer(command.arguments["result"].get<std::string>());
        app_.settle();
        return answered;
    }
    if (name == "assertComposer") {
        return assertComposer(command.arguments);
    }
    if (name == "assertOpenedUrl") {
        return assertOpenedUrl(command.arguments);
    }
    return Failure{"unknown command"};
}

Status FlowDeviceCommands::answerComposer(const std::string& answer) {
    ComposeResult result;
    if (answer == "sent") {
        result = ComposeResult::Sent;
    } else if (answer == "cancelled") {
        result = ComposeResult::Cancelled;
    } else if (answer == "failed") {
        result = ComposeResult::Failed;
    } else {
        return Failure{"the answer is sent, cancelled or failed, not " + ViewTreeDump::quoted(answer)};
    }
    ComposeViewController* composer = ComposeViewController::presentedComposer();
    if (composer == nullptr) {
        return Failure{"no message or mail composer is shown"};
    }
    auto held = composer->shared_from_this();
    composer->answer(result);
    // A delegate that forgot to close its composer leaves the user stuck behind it; a flow goes on.
    if (ComposeViewController::presentedComposer() == composer) {
        composer->dismissModalViewController(false);
    }
    return {};
}

Status FlowDeviceCommands::assertComposer(const Json& arguments) {
    ComposeViewController* composer = ComposeViewController::presentedComposer();
    if (composer == nullptr) {
        return Failure{"no message or mail composer is shown"};
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
            return Failure{std::string("the composer's ") + field.key + " is " +
                           ViewTreeDump::quoted(field.shown[0]) + ", not " + ViewTreeDump::quoted(pattern)};
        }
    }
    return {};
}

Status FlowDeviceCommands::assertOpenedUrl(const Json& arguments) {
    const auto& opened = Application::shared().openedUrls();
    if (opened.empty()) {
        return Failure{"no link was opened"};
    }
    if (!arguments.contains("url")) {
        return {};
    }
    std::string pattern = arguments["url"].get<std::string>();
    if (!ScreenQuery::textMatches(opened.back(), pattern)) {
        return Failure{"the last link opened was " + ViewTreeDump::quoted(opened.back()) + ", not " +
                       ViewTreeDump::quoted(pattern)};
    }
    return {};
}

}  // namespace zorlet
