#include "net/ResponseEnvelope.h"

namespace zorlet {

std::optional<Json> ResponseEnvelope::decode(std::string_view body) {
    auto envelope = parseJson(body);
    if (!envelope || !envelope->is_object()) {
        return std::nullopt;
    }
    return envelope;
}

bool ResponseEnvelope::isSuccess(const Json& envelope) {
    if (!envelope.is_object()) {
        return false;
    }
    auto it = envelope.find("success");
    return it != envelope.end() && it->is_boolean() && it->get<bool>();
}

bool ResponseEnvelope::readsAsSuccess(const Json& envelope) {
    if (!envelope.is_object()) {
        return false;
    }
    auto it = envelope.find("success");
    if (it == envelope.end()) {
        return false;
    }
    if (it->is_boolean()) {
        return it->get<bool>();
    }
    if (it->is_number()) {
        return it->get<double>() != 0;
    }
    if (!it->is_string()) {
        return false;
    }
    const auto& text = it->get_ref<const std::string&>();
    std::size_t at = text.find_first_not_of(" \t\n\r");
    if (at != std::string::npos && (text[at] == '+' || text[at] == '-')) {
        ++at;
    }
    while (at != std::string::npos && at < text.size() && text[at] == '0') {
        ++at;
    }
    if (at == std::string::npos || at >= text.size()) {
        return false;
    }
    char first = text[at];
    return first == 'Y' || first == 'y' || first == 'T' || first == 't' || (first >= '1' && first <= '9');
}

std::string ResponseEnvelope::errorText(const Json& envelope) {
    std::string text = jsonString(envelope, "errorInfo");
    return text.empty() ? kGenericError : text;
}

}  // namespace zorlet
