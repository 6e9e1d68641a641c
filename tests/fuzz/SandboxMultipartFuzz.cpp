// Drives the sandbox's multipart handling: cpp-httplib's multipart parser, the
// text and file parts the handlers read, and the picture checks every upload goes
// through (JPEG and PNG headers, declared sizes, decoding).
//
// Input: the first byte picks the endpoint that takes uploads; the rest is the
// multipart body, sent with the boundary "zorletfuzz" by the signed-in fuzz user.

#include "SandboxHarness.h"

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using zorlet::sandbox::fuzz::SandboxHarness;
    static const char* const uploads[] = {"/profile/save", "/profile/guide", "/post/sendPost",
                                          "/post/v133/edit", "/dialog/sendSms"};
    if (size < 1) {
        return 0;
    }
    auto& harness = SandboxHarness::shared();
    std::string_view body(reinterpret_cast<const char*>(data) + 1, size - 1);
    const char* path = uploads[data[0] % std::size(uploads)];
    std::string request = std::string("POST ") + path +
                          " HTTP/1.1\r\nHost: 127.0.0.1:8080\r\nCookie: " + harness.signedInCookie() +
                          "\r\nContent-Type: multipart/form-data; boundary=zorletfuzz\r\nContent-Length: " +
                          std::to_string(body.size()) + "\r\n\r\n";
    request += body;
    if (harness.serve(request) == 500) {
        __builtin_trap();
    }
    return 0;
}
