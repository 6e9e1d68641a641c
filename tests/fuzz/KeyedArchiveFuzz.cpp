// Any file text as the session archive, and any bytes as tokens: reading
// never fails hard, and tokens written come back byte for byte.
#include "platform/KeyedArchive.h"
#include "session/LoginUser.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    if (auto fields = zorlet::KeyedArchive::decode(text, zorlet::LoginUser::kRootKey)) {
        auto user = zorlet::LoginUser::decode(*fields);
        (void)user->encode().dump();
    }
    // Split the input into two tokens and round-trip them through the archive's JSON form.
    std::string pToken(text.substr(0, size / 2));
    std::string lToken(text.substr(size / 2));
    zorlet::LoginUser user(pToken, lToken);
    auto written = zorlet::KeyedArchive::encode(zorlet::LoginUser::kRootKey, user.encode());
    if (!written) {
        __builtin_trap();  // the tokens could not be stored
    }
    auto reread = zorlet::KeyedArchive::decode(*written, zorlet::LoginUser::kRootKey);
    if (!reread) {
        __builtin_trap();
    }
    auto back = zorlet::LoginUser::decode(*reread);
    if (back->pToken != pToken || back->lToken != lToken) {
        __builtin_trap();
    }
    return 0;
}
