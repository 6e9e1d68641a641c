#pragma once

#include <array>
#include <cstdint>

namespace zorlet {

// An external account service a user can sign in or bind with: the id the
// server knows it by (`tpId`), the sign-in screens' button for it and its logo.
struct ExternalProvider {
    std::int64_t tpId;
    const char* buttonId;
    const char* logo;
};

inline constexpr ExternalProvider kWeiboProvider{6, "sinaLogin", "sina"};
inline constexpr ExternalProvider kDoubanProvider{7, "dbLogin", "db"};
inline constexpr ExternalProvider kQqProvider{8, "qqLogin", "qq"};

// In the order the provider lists show them.
inline constexpr std::array<ExternalProvider, 3> kExternalProviders{kWeiboProvider, kQqProvider,
                                                                    kDoubanProvider};

}  // namespace zorlet
