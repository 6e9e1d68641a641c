#pragma once

#include <nlohmann/json.hpp>

#include <cstdint>
#include <string>

namespace zorlet::sandbox {

class Connection;
struct ViewContext;

// One page of a list of users, as `result` of a paged answer.
class UserPages {
public:
    // `source` is the FROM and WHERE part of a query that yields rows with a `users.uid`,
    // its single parameter ?1 bound to `key`; `order` orders them (end it on a unique column
    // so that pages never overlap or skip).
    static nlohmann::json page(Connection& connection, const ViewContext& view, const std::string& source,
                               const std::string& order, std::int64_t key, int page, int pageSize);
};

}  // namespace zorlet::sandbox
