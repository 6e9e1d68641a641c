#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <string>

namespace zorlet::sandbox {

// Counts failed sign-ins per account and per client address. Once too many have
// failed within the window, further attempts are turned away until the window
// (counted from the first failure) has passed, so that guessing passwords costs
// time instead of one expensive hash after another.
class LoginThrottle {
public:
    struct Limits {
        int perAccount = 5;
        int perAddress = 20;
        std::int64_t windowSeconds = 15 * 60;
    };
    enum class Verdict { Allowed, AccountLocked, AddressLocked };

    LoginThrottle() : LoginThrottle(Limits{}) {}
    explicit LoginThrottle(Limits limits) : limits_(limits) {}

    // Whether an attempt may be checked at all. Accounts are compared without letter case.
    Verdict check(const std::string& account, const std::string& address, std::int64_t now);
    void failed(const std::string& account, const std::string& address, std::int64_t now);
    // A right password or a new one clears the account's failures (not the address's).
    void succeeded(const std::string& account);

private:
    struct Failures {
        std::int64_t since = 0;
        int count = 0;
    };
    using Counts = std::map<std::string, Failures>;

    bool over(Counts& counts, const std::string& key, int limit, std::int64_t now);
    void count(Counts& counts, const std::string& key, std::int64_t now);
    static std::string accountKey(const std::string& account);

    const Limits limits_;
    std::mutex mutex_;
    Counts accounts_;
    Counts addresses_;
};

}  // namespace zorlet::sandbox
