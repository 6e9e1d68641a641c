// Drives the sandbox's parameter handling with arbitrary request targets and
// form bodies: cpp-httplib's query and form decoding, the UTF-8 and length checks
// of every call, and the handlers reading ids, pages, codes, texts and cookies.
//
// Input: the first byte picks GET or POST and whether the fuzzer's signed-in user's
// cookies go along; up to the first newline is the request target
// ("/path?query"); the rest is an application/x-www-form-urlencoded body.

#include "SandboxHarness.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using zorlet::sandbox::fuzz::SandboxHarness;
    if (size < 2) {
        return 0;
    }
    auto& harness = SandboxHarness::shared();
    std::string_view input(reinterpret_cast<const char*>(data), size);
    auto flags = static_cast<unsigned char>(input[0]);
    input.remove_prefix(1);
    auto newline = input.find('\n');
    auto target = input.substr(0, newline);
    auto body = newline == std::string_view::npos ? std::string_view() : input.substr(newline + 1);
    // Signing out would end the session every later input relies on.
    if (target.find("logout") != std::string_view::npos) {
        return 0;
    }

    bool post = flags & 1;
    std::string request =
        std::string(post ? "POST " : "GET ") + std::string(target) + " HTTP/1.1\r\nHost: 127.0.0.1:8080\r\n";
    if (flags & 2) {
        request += "Cookie: " + harness.signedInCookie() + "\r\n";
    }
    if (post) {
        request += "Content-Type: application/x-www-form-urlencoded\r\nContent-Length: " +
                   std::to_string(body.size()) + "\r\n\r\n";
        request += body;
    } else {
        request += "\r\n";
    }
    int status = harness.serve(request);
    // Whatever comes in, the service answers; a missing status line means it fell over.
    if (status == 500) {
        __builtin_trap();
    }
    return 0;
}
