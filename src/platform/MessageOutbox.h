#pragma once

#include "platform/Clock.h"
#include "platform/OutgoingMessage.h"

#include <filesystem>
#include <string>

namespace zorlet {

// Where composed messages go when no desktop program takes them: one file per
// message in a folder ("Outbox" of the data folder), an RFC 5322 .eml file
// for mail (which any mail program opens) and a short .txt for a text message.
class MessageOutbox {
public:
    static constexpr const char* kFolderName = "Outbox";

    // Empty on success, else why the file could not be written; `written` gets its path.
    static std::string write(const OutgoingMessage& message, const std::filesystem::path& folder,
                             SystemTime now, std::filesystem::path* written = nullptr);

    // The file's text. Header values lose their line breaks, so a subject or
    // an address cannot add headers of its own; non-ASCII headers are
    // encoded words, attachments base64 parts of a multipart/mixed body.
    static std::string emlText(const OutgoingMessage& message, SystemTime now);
    static std::string smsText(const OutgoingMessage& message);
};

}  // namespace zorlet
