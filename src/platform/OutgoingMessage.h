#pragma once

#include <string>
#include <vector>

namespace zorlet {

// A text message or an e-mail the user composed, as handed to the system:
// the desktop's own programs (through a `sms:` or `mailto:` link) or the
// data folder's outbox.
struct OutgoingMessage {
    enum class Kind { Text, Mail };

    struct Attachment {
        std::string data;
        std::string mimeType;
        std::string fileName;
    };

    Kind kind = Kind::Text;
    std::vector<std::string> recipients;
    std::string subject;  // mail only
    std::string body;
    bool isHTML = false;  // mail only
    std::vector<Attachment> attachments;

    // The body as a person reads it: an HTML body loses its tags, its line
    // breaks and paragraphs become new lines, and the common entities are decoded.
    std::string plainBody() const;
    // "sms:NUMBERS?body=..." or "mailto:ADDRESSES?subject=...&body=...", every
    // part percent-encoded so nothing the user typed can add fields of its own.
    std::string handoffUrl() const;
};

}  // namespace zorlet
