#pragma once

#include <stdexcept>
#include <string>

namespace zorlet::sandbox {

// A storage fault inside the service. It never leaves the library: request
// handling turns it into an error answer, the test control into a result.
class SqlError : public std::runtime_error {
public:
    explicit SqlError(const std::string& what) : std::runtime_error(what) {}
};

}  // namespace zorlet::sandbox
