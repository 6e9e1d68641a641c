#pragma once

#include <string>

namespace zorlet {

// Hands a link to the desktop's own programs with xdg-open. The link is
// untrusted (a server or a user wrote it): only web, mail, text message and
// map links are handed on, and always as one argument of the program, never
// through a shell.
class DesktopOpener {
public:
    static bool isAllowed(const std::string& url);
    // False when the link is not allowed or xdg-open could not be started.
    static bool open(const std::string& url);
};

}  // namespace zorlet
