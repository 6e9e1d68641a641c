#include "platform/MessageOutbox.h"

#include "platform/AtomicFile.h"

#include <atomic>
#include <ctime>

namespace zorlet {

namespace {

std::string base64(const std::string& bytes, std::size_t lineLength = 76) {
    static const char* kAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    std::size_t column = 0;
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        unsigned value = static_cast<unsigned char>(bytes[i]) << 16;
        if (i + 1 < bytes.size()) {
            value |= static_cast<unsigned char>(bytes[i + 1]) << 8;
        }
        if (i + 2 < bytes.size()) {
            value |= static_cast<unsigned char>(bytes[i + 2]);
        }
        out += kAlphabet[(value >> 18) & 63];
        out += kAlphabet[(value >> 12) & 63];
        out += i + 1 < bytes.size() ? kAlphabet[(value >> 6) & 63] : '=';
        out += i + 2 < bytes.size() ? kAlphabet[value & 63] : '=';
        column += 4;
        if (lineLength > 0 && column >= lineLength && i + 3 < bytes.size()) {
            out += "\r\n";
            column = 0;
        }
    }
    return out;
}

std::string singleLine(const std::string& value) {
    std::string out;
    for (char c : value) {
        if (c == '\r' || c == '\n') {
            out += ' ';
        } else {
            out += c;
        }
    }
    return out;
}

bool isAscii(const std::string& text) {
    for (unsigned char c : text) {
        if (c >= 0x80) {
            return false;
        }
    }
    return true;
}

std::string headerValue(const std::string& value) {
    std::string line = singleLine(value);
    return isAscii(line) ? line : "=?UTF-8?B?" + base64(line, 0) + "?=";
}

std::string recipientList(const std::vector<std::string>& recipients) {
    std::string out;
    for (const auto& recipient : recipients) {
        std::string line = singleLine(recipient);
        if (!line.empty()) {
            out += (out.empty() ? "" : ", ") + line;
        }
    }
    return out;
}

// Attachment names go into quoted parameters: quotes and backslashes would end them early.
std::string quotedSafe(const std::string& value) {
    std::string out;
    for (char c : singleLine(value)) {
        if (c != '"' && c != '\\') {
            out += c;
        }
    }
    return out;
}

std::string rfc5322Date(SystemTime now) {
    std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    std::tm utc{};
    gmtime_r(&seconds, &utc);
    char text[64];
    std::strftime(text, sizeof text, "%a, %d %b %Y %H:%M:%S +0000", &utc);
    return text;
}

std::string fileStamp(SystemTime now) {
    std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    std::tm utc{};
    gmtime_r(&seconds, &utc);
    char text[32];
    std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &utc);
    return text;
}

}  // namespace

std::string MessageOutbox::emlText(const OutgoingMessage& message, SystemTime now) {
    std::string head;
    head += "To: " + recipientList(message.recipients) + "\r\n";
    head += "Subject: " + headerValue(message.subject) + "\r\n";
    head += "Date: " + rfc5322Date(now) + "\r\n";
    head += "MIME-Version: 1.0\r\n";
    // Marks the file as a message still to be sent when a mail program opens it.
    head += "X-Unsent: 1\r\n";
    std::string bodyType = std::string(message.isHTML ? "text/html" : "text/plain") + "; charset=UTF-8";
    std::string body = base64(message.body);
    if (message.attachments.empty()) {
        return head + "Content-Type: " + bodyType + "\r\nContent-Transfer-Encoding: base64\r\n\r\n" + body +
               "\r\n";
    }
    const std::string boundary = "zorlet-part-" + fileStamp(now);
    std::string out = head + "Content-Type: multipart/mixed; boundary=\"" + boundary + "\"\r\n\r\n";
    out += "--" + boundary + "\r\nContent-Type: " + bodyType +
           "\r\nContent-Transfer-Encoding: base64\r\n\r\n" + body + "\r\n";
    for (const auto& attachment : message.attachments) {
        std::string type =
            singleLine(attachment.mimeType.empty() ? "application/octet-stream" : attachment.mimeType);
        std::string name = quotedSafe(attachment.fileName);
        out += "--" + boundary + "\r\nContent-Type: " + type + "; name=\"" + name +
               "\"\r\nContent-Disposition: attachment; filename=\"" + name +
               "\"\r\nContent-Transfer-Encoding: base64\r\n\r\n" + base64(attachment.data) + "\r\n";
    }
    out += "--" + boundary + "--\r\n";
    return out;
}

std::string MessageOutbox::smsText(const OutgoingMessage& message) {
    return "To: " + recipientList(message.recipients) + "\n\n" + message.body + "\n";
}

std::string MessageOutbox::write(const OutgoingMessage& message, const std::filesystem::path& folder,
                                 SystemTime now, std::filesystem::path* written) {
    static std::atomic<unsigned> sequence{0};
    bool mail = message.kind == OutgoingMessage::Kind::Mail;
    std::string stem = (mail ? "mail-" : "sms-") + fileStamp(now);
    std::filesystem::path path;
    std::error_code error;
    // Two messages in the same second must not overwrite each other.
    do {
        path = folder / (stem + "-" + std::to_string(++sequence) + (mail ? ".eml" : ".txt"));
    } while (std::filesystem::exists(path, error));
    std::string text = mail ? emlText(message, now) : smsText(message);
    std::string failure = AtomicFile::write(path, text, 0600);
    if (failure.empty() && written != nullptr) {
        *written = path;
    }
    return failure;
}

}  // namespace zorlet
