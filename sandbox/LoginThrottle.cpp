#include "sandbox/LoginThrottle.h"

#include <algorithm>
#include <cctype>

namespace zorlet::sandbox {

namespace {

// Enough for every honest client; past it, expired entries are swept so a spray of
// made-up account names cannot grow the table without end.
constexpr size_t sweepAbove = 4096;

}  // namespace

std::string LoginThrottle::accountKey(const std::string& account) {
    std::string key = account;
    std::transform(key.begin(), key.end(), key.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return key;
}

bool LoginThrottle::over(Counts& counts, const std::string& key, int limit, std::int64_t now) {
    auto found = counts.find(key);
    if (found == counts.end()) {
        return false;
    }
    if (now - found->second.since >= limits_.windowSeconds) {
        counts.erase(found);
        return false;
    }
    return found->second.count >= limit;
}

void LoginThrottle::count(Counts& counts, const std::string& key, std::int64_t now) {
    auto& failures = counts[key];
    if (failures.count == 0 || now - failures.since >= limits_.windowSeconds) {
        failures = Failures{now, 0};
    }
    ++failures.count;
    if (counts.size() > sweepAbove) {
        std::erase_if(counts,
                      [&](const auto& entry) { return now - entry.second.since >= limits_.windowSeconds; });
    }
}

LoginThrottle::Verdict LoginThrottle::check(const std::string& account, const std::string& address,
                                            std::int64_t now) {
    std::lock_guard lock(mutex_);
    if (over(addresses_, address, limits_.perAddress, now)) {
        return Verdict::AddressLocked;
    }
    if (over(accounts_, accountKey(account), limits_.perAccount, now)) {
        return Verdict::AccountLocked;
    }
    return Verdict::Allowed;
}

void LoginThrottle::failed(const std::string& account, const std::string& address, std::int64_t now) {
    std::lock_guard lock(mutex_);
    count(accounts_, accountKey(account), now);
    count(addresses_, address, now);
}

void LoginThrottle::succeeded(const std::string& account) {
    std::lock_guard lock(mutex_);
    accounts_.erase(accountKey(account));
}

}  // namespace zorlet::sandbox
