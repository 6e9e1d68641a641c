#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace zorlet::sandbox {

// One prepared SQL statement. Binding is by position, counted from 1;
// failures raise SqlError so a transaction can roll back as a whole.
class Statement {
public:
    Statement(sqlite3* db, std::string_view sql);
    // Borrows a statement the connection keeps prepared; `inUse` is cleared when this one ends.
    Statement(sqlite3* db, sqlite3_stmt* prepared, bool* inUse);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    Statement& bind(int index, std::int64_t value);
    Statement& bind(int index, int value) { return bind(index, static_cast<std::int64_t>(value)); }
    Statement& bind(int index, double value);
    Statement& bind(int index, std::string_view value);
    Statement& bind(int index, const char* value) { return bind(index, std::string_view(value)); }
    Statement& bind(int index, const std::string& value) { return bind(index, std::string_view(value)); }
    Statement& bindNull(int index);
    template <typename T>
    Statement& bind(int index, const std::optional<T>& value) {
        return value ? bind(index, *value) : bindNull(index);
    }

    // True while a row is available.
    bool step();
    // Runs a statement that returns no rows.
    void run();
    void reset();

    std::int64_t integer(int column) const;
    double real(int column) const;
    std::string text(int column) const;
    bool isNull(int column) const;

private:
    sqlite3* db_;
    sqlite3_stmt* statement_ = nullptr;
    bool* borrowed_ = nullptr;
};

}  // namespace zorlet::sandbox
