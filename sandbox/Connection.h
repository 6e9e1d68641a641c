#pragma once

#include "sandbox/Statement.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

struct sqlite3;

namespace zorlet::sandbox {

// One open SQLite connection, used by one thread at a time.
class Connection {
public:
    // Empty error on success.
    static std::unique_ptr<Connection> open(const std::string& path, std::string& error);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    Statement prepare(std::string_view sql) { return Statement(db_, sql); }
    void execute(const std::string& sql);
    std::int64_t lastInsertId() const;
    int changes() const;

private:
    explicit Connection(sqlite3* db) : db_(db) {}
    sqlite3* db_;
};

}  // namespace zorlet::sandbox
