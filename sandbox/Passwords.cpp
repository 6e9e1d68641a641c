#include "sandbox/Passwords.h"

#include "sandbox/ConcurrencyLimit.h"

#include <sodium.h>

#include <vector>

namespace zorlet::sandbox {

namespace {

// The server has dozens of threads; dozens of 64 MiB hashes at once would be gigabytes.
ConcurrencyLimit& hashing() {
    static ConcurrencyLimit limit(Passwords::concurrentHashes);
    return limit;
}

}  // namespace

bool Passwords::initialize() {
    return sodium_init() >= 0;
}

std::optional<std::string> Passwords::hash(std::string_view password, Cost cost) {
    char out[crypto_pwhash_STRBYTES];
    auto permit = hashing().enter();
    auto ops = cost == Cost::Interactive ? crypto_pwhash_OPSLIMIT_INTERACTIVE : crypto_pwhash_OPSLIMIT_MIN;
    auto mem = cost == Cost::Interactive ? crypto_pwhash_MEMLIMIT_INTERACTIVE : crypto_pwhash_MEMLIMIT_MIN;
    if (crypto_pwhash_str_alg(out, password.data(), password.size(), ops, mem,
                              crypto_pwhash_ALG_ARGON2ID13) != 0) {
        return std::nullopt;
    }
    return std::string(out);
}

bool Passwords::verify(std::string_view storedHash, std::string_view password) {
    if (storedHash.empty() || storedHash.size() >= crypto_pwhash_STRBYTES) {
        return false;
    }
    std::string terminated(storedHash);
    auto permit = hashing().enter();
    return crypto_pwhash_str_verify(terminated.c_str(), password.data(), password.size()) == 0;
}

bool Passwords::sameSecret(std::string_view given, std::string_view expected) {
    if (given.size() != expected.size() || expected.empty()) {
        return false;
    }
    return sodium_memcmp(given.data(), expected.data(), expected.size()) == 0;
}

int Passwords::peakConcurrentHashes() {
    return hashing().peak();
}

std::string Passwords::randomHex(size_t bytes) {
    std::vector<unsigned char> random(bytes);
    randombytes_buf(random.data(), random.size());
    std::string hex(bytes * 2 + 1, '\0');
    sodium_bin2hex(hex.data(), hex.size(), random.data(), random.size());
    hex.pop_back();
    return hex;
}

}  // namespace zorlet::sandbox
