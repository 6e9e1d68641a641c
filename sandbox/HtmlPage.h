#pragma once

#include "sandbox/Reply.h"

#include <string>

namespace zorlet::sandbox {

// The pages the service shows in a browser (sign-in with another platform, setting a
// new password): one small HTML document in Chinese, readable on a phone.
class HtmlPage {
public:
    // `body` is HTML already; the title is escaped here.
    static Reply reply(int status, const std::string& title, const std::string& body);
};

}  // namespace zorlet::sandbox
