#pragma once

#include <optional>
#include <string>

namespace zorlet {

// The rules for the profile texts. Each gives the message to show, or nothing
// when the text is acceptable. Limits are in chineseLength units.
class ProfileValidation {
public:
    // 1 to 10 characters, then a synchronous check that nobody else has the
    // nickname. A network fault lets the nickname through so saving is not
    // blocked; the server checks again when the profile is saved.
    static std::optional<std::string> validateNickname(const std::string& nickname);
    // At most 70 characters; an empty self-description is allowed.
    static std::optional<std::string> validateFeature(const std::string& feature);
    // 1 to 10 characters, where a single ASCII letter is too short.
    static std::optional<std::string> validateProfession(const std::string& profession);
};

}  // namespace zorlet
