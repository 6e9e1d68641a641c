#pragma once

#include "platform/Json.h"

#include <filesystem>
#include <memory>
#include <string>

namespace zorlet {

// The session tokens kept on the device between runs: the archive "user" in
// the documents folder, root "loginUser". The file holds secrets, so it is
// only ever replaced whole and readable by this user alone.
class LoginUser {
public:
    LoginUser() = default;
    LoginUser(std::string pToken, std::string lToken);

    // The stored tokens, or nothing when there is no readable archive.
    static std::shared_ptr<LoginUser> initFromData();
    bool save() const;
    // Signing out: both tokens stored as empty (the file stays).
    static bool reset();
    static std::filesystem::path dataFilePath();

    Json encode() const;
    static std::shared_ptr<LoginUser> decode(const Json& fields);

    bool isEmpty() const { return pToken.empty() && lToken.empty(); }

    std::string pToken;
    std::string lToken;

    static constexpr const char* kRootKey = "loginUser";
    static constexpr const char* kPTokenKey = "pTokenField";
    static constexpr const char* kLTokenKey = "lTokenField";
    // Tokens are opaque bytes from the server; one that is not UTF-8 has no
    // JSON text form and is kept as hex digits under these keys instead.
    static constexpr const char* kPTokenHexKey = "pTokenHexField";
    static constexpr const char* kLTokenHexKey = "lTokenHexField";
};

}  // namespace zorlet
