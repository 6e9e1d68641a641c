#include "sandbox/CallParams.h"

#include "sandbox/Routes.h"
#include "sandbox/TextRules.h"

namespace zorlet::sandbox {

namespace {

constexpr std::int64_t largestCode = 1000;

}  // namespace

std::optional<int> CallParams::page(const Call& call) {
    auto text = call.params.text("page");
    if (!text || text->empty()) {
        return 1;
    }
    auto number = TextRules::parseInteger(*text);
    if (!number || *number > highestPage) {
        return std::nullopt;
    }
    return *number < 1 ? 1 : static_cast<int>(*number);
}

std::optional<std::int64_t> CallParams::id(const Call& call, const std::string& name) {
    auto number = TextRules::parseInteger(call.params.text(name).value_or(""));
    if (!number || *number <= 0) {
        return std::nullopt;
    }
    return number;
}

std::optional<std::int64_t> CallParams::code(const Call& call, const std::string& name) {
    auto number = TextRules::parseInteger(call.params.text(name).value_or(""));
    if (!number || *number < 0 || *number > largestCode) {
        return std::nullopt;
    }
    return number;
}

}  // namespace zorlet::sandbox
