#pragma once

#include "platform/Result.h"
#include "sandbox/Statement.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

struct sqlite3;

namespace zorlet::sandbox {

// One open SQLite connection, used by one thread at a time.
class Connection {
public:
    // Opens (creating when needed) in WAL mode; a failure says what SQLite refused.
    static Result<std::unique_ptr<Connection>> open(const std::string& path);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Statements are prepared once per connection and reused; a statement
    // still in use when the same text is asked for again gets a fresh copy.
    Statement prepare(std::string_view sql);
    void execute(const std::string& sql);
    std::int64_t lastInsertId() const;
    int changes() const;

private:
    struct Prepared {
        sqlite3_stmt* statement = nullptr;
        bool inUse = false;
    };
    explicit Connection(sqlite3* db) : db_(db) {}
    sqlite3* db_;
    std::unordered_map<std::string, std::unique_ptr<Prepared>> prepared_;
};

}  // namespace zorlet::sandbox
