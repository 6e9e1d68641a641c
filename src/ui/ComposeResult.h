#pragma once

namespace zorlet {

// How a message or mail composer ended.
enum class ComposeResult { Cancelled, Sent, Failed };

inline const char* composeResultName(ComposeResult result) {
    switch (result) {
        case ComposeResult::Cancelled:
            return "cancelled";
        case ComposeResult::Sent:
            return "sent";
        case ComposeResult::Failed:
            return "failed";
    }
    return "failed";
}

}  // namespace zorlet
