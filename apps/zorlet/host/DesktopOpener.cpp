#include "host/DesktopOpener.h"

#include "platform/Log.h"

#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <thread>

extern char** environ;

namespace zorlet {

namespace {

constexpr std::size_t kMaxUrlLength = 16 * 1024;
constexpr std::array<const char*, 6> kSchemes = {"http", "https", "mailto", "sms", "maps", "geo"};

}  // namespace

bool DesktopOpener::isAllowed(const std::string& url) {
    if (url.empty() || url.size() > kMaxUrlLength) {
        return false;
    }
    // Links arrive percent-encoded; anything raw beyond printable ASCII is not a link.
    bool printable = std::all_of(url.begin(), url.end(), [](char c) {
        auto byte = static_cast<unsigned char>(c);
        return byte > 0x20 && byte < 0x7F;
    });
    auto colon = url.find(':');
    if (!printable || colon == std::string::npos) {
        return false;
    }
    std::string scheme = url.substr(0, colon);
    std::transform(scheme.begin(), scheme.end(), scheme.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    bool known = std::any_of(kSchemes.begin(), kSchemes.end(), [&](const char* s) { return scheme == s; });
    if (!known) {
        return false;
    }
    // A web link needs a host.
    if (scheme == "http" || scheme == "https") {
        return url.compare(colon, 3, "://") == 0 && url.size() > colon + 3;
    }
    return true;
}

bool DesktopOpener::open(const std::string& url) {
    if (!isAllowed(url)) {
        log().warn("not handing {} to the desktop: not a web, mail, message or map link", url.substr(0, 200));
        return false;
    }
    std::string program = "xdg-open";
    std::string argument = url;
    char* argv[] = {program.data(), argument.data(), nullptr};
    pid_t child = 0;
    int failure = posix_spawnp(&child, program.c_str(), nullptr, nullptr, argv, environ);
    if (failure != 0) {
        log().warn("xdg-open could not be started: {}", std::strerror(failure));
        return false;
    }
    // xdg-open may wait for the program it starts; collect it without holding up the app.
    std::thread([child] {
        int status = 0;
        while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
        }
    }).detach();
    log().info("handed {} to xdg-open", url.substr(0, 200));
    return true;
}

}  // namespace zorlet
