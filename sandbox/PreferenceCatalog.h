#pragma once

#include <nlohmann/json.hpp>

#include <cstdint>

namespace zorlet::sandbox {

class Connection;

// The outing questionnaire every home carries, with the user's stored answers.
class PreferenceCatalog {
public:
    static nlohmann::json viewsFor(Connection& connection, std::int64_t uid);
    // The bare questions, without answers.
    static const nlohmann::json& questions();
};

}  // namespace zorlet::sandbox
