#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zorlet::sandbox {

// Argon2id password hashes (libsodium's crypto_pwhash_str), self-describing,
// so hashes made with different costs verify alike.
class Passwords {
public:
    enum class Cost {
        Interactive,  // libsodium's INTERACTIVE limits: the running service
        Minimum,      // libsodium's MIN limits: tests, where hashing speed matters
    };

    // Must be called once before hashing; false when libsodium cannot start.
    static bool initialize();
    static std::optional<std::string> hash(std::string_view password, Cost cost);
    static bool verify(std::string_view storedHash, std::string_view password);
    // Equal texts, compared in a time that does not tell how much of a guess was right.
    static bool sameSecret(std::string_view given, std::string_view expected);
    // How many hashes may run at once: each takes 64 MiB at the interactive cost.
    static constexpr int concurrentHashes = 4;
    // The most hashes or verifications that ever ran at the same time.
    static int peakConcurrentHashes();
    // `bytes` random bytes as lower-case hexadecimal.
    static std::string randomHex(size_t bytes);
};

}  // namespace zorlet::sandbox
