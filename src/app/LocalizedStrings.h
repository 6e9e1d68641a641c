#pragma once

#include <cstdint>
#include <string>

namespace zorlet {

// The app's texts that live in the string table (resources/strings/Localizable.json)
// rather than in code: provider names and titles, settings rows.
class LocalizedStrings {
public:
    // The text for `key`; the key itself when the table has none, so a missing
    // entry shows up on screen instead of leaving a blank.
    static std::string localizedString(const std::string& key);
    // A key pattern such as "tpLogin.%d.title" with `number` in place of "%d".
    static std::string localizedString(const std::string& pattern, std::int64_t number);
};

}  // namespace zorlet
