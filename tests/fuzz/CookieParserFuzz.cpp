// Any Set-Cookie value from any host, and any line of the cookie list: the
// parser must not fail, must only take cookies for the answering host, and
// what it writes back must read back the same.
#include "platform/CookieParser.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string input(reinterpret_cast<const char*>(data), size);
    // The first line names the answering host; the rest is the header value.
    auto newline = input.find('\n');
    std::string host = newline == std::string::npos ? "api.example.com" : input.substr(0, newline);
    std::string header = newline == std::string::npos ? input : input.substr(newline + 1);
    for (long long now : {0LL, 1'800'000'000LL, -1LL, 9'223'372'036'854'775'807LL}) {
        auto cookie = zorlet::CookieParser::fromSetCookie(header, host, now);
        if (!cookie) {
            continue;
        }
        if (!host.empty() && !zorlet::CookieParser::appliesToHost(*cookie, host)) {
            __builtin_trap();  // a cookie the engine would refuse for this host
        }
        zorlet::CookieParser::matches(*cookie, host, "/", false, now);
        std::string line = zorlet::CookieParser::toNetscapeLine(*cookie);
        if (line.find_first_of("\t\n") == std::string::npos) {
            __builtin_trap();
        }
    }
    if (auto parsed = zorlet::CookieParser::fromNetscapeLine(input)) {
        auto again = zorlet::CookieParser::fromNetscapeLine(zorlet::CookieParser::toNetscapeLine(*parsed));
        if (!again) {
            __builtin_trap();
        }
    }
    return 0;
}
