#include "platform/OutgoingMessage.h"

#include <cctype>
#include <cstring>

namespace zorlet {

namespace {

// RFC 3986 unreserved characters stay; everything else (spaces, "&", "?",
// "#", line breaks, non-ASCII bytes) is escaped, as both link schemes require.
std::string percentEncode(const std::string& text) {
    static const char* kHex = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : text) {
        if (std::isalnum(c) || c == '-' || c == '.' || c == '_' || c == '~') {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 0xF];
        }
    }
    return out;
}

std::string joinedRecipients(const std::vector<std::string>& recipients) {
    std::string out;
    for (const auto& recipient : recipients) {
        if (recipient.empty()) {
            continue;
        }
        out += (out.empty() ? "" : ",") + percentEncode(recipient);
    }
    return out;
}

bool startsWithTag(const std::string& tag, const char* name) {
    std::size_t length = std::strlen(name);
    if (tag.size() < length) {
        return false;
    }
    for (std::size_t i = 0; i < length; ++i) {
        if (std::tolower(static_cast<unsigned char>(tag[i])) != name[i]) {
            return false;
        }
    }
    return tag.size() == length || !std::isalnum(static_cast<unsigned char>(tag[length]));
}

std::string decodeEntities(const std::string& text) {
    static const std::pair<const char*, const char*> kEntities[] = {
        {"&amp;", "&"}, {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&#39;", "'"}, {"&nbsp;", " "}};
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        bool replaced = false;
        if (text[i] == '&') {
            for (const auto& [entity, character] : kEntities) {
                if (text.compare(i, std::strlen(entity), entity) == 0) {
                    out += character;
                    i += std::strlen(entity);
                    replaced = true;
                    break;
                }
            }
        }
        if (!replaced) {
            out += text[i++];
        }
    }
    return out;
}

}  // namespace

std::string OutgoingMessage::plainBody() const {
    if (!isHTML) {
        return body;
    }
    std::string text;
    for (std::size_t i = 0; i < body.size();) {
        if (body[i] != '<') {
            text += body[i++];
            continue;
        }
        std::size_t end = body.find('>', i);
        if (end == std::string::npos) {
            break;  // an unclosed tag hides the rest, as a browser would
        }
        std::string tag = body.substr(i + 1, end - i - 1);
        bool closing = !tag.empty() && tag[0] == '/';
        std::string name = closing ? tag.substr(1) : tag;
        if (startsWithTag(name, "br") ||
            (closing && (startsWithTag(name, "p") || startsWithTag(name, "div")))) {
            text += '\n';
        }
        i = end + 1;
    }
    return decodeEntities(text);
}

std::string OutgoingMessage::handoffUrl() const {
    std::string url = kind == Kind::Mail ? "mailto:" : "sms:";
    url += joinedRecipients(recipients);
    std::string query;
    if (kind == Kind::Mail && !subject.empty()) {
        query += "subject=" + percentEncode(subject);
    }
    std::string text = plainBody();
    if (!text.empty()) {
        query += (query.empty() ? "" : "&") + std::string("body=") + percentEncode(text);
    }
    if (!query.empty()) {
        url += "?" + query;
    }
    return url;
}

}  // namespace zorlet
