#include "sandbox/Statement.h"

#include "sandbox/SqlError.h"

#include <sqlite3.h>

namespace zorlet::sandbox {

namespace {

void check(sqlite3* db, int code, const char* doing) {
    if (code != SQLITE_OK) {
        throw SqlError(std::string(doing) + ": " + sqlite3_errmsg(db));
    }
}

}  // namespace

Statement::Statement(sqlite3* db, std::string_view sql) : db_(db) {
    check(db_, sqlite3_prepare_v2(db_, sql.data(), static_cast<int>(sql.size()), &statement_, nullptr),
          "prepare");
}

Statement::Statement(sqlite3* db, sqlite3_stmt* prepared, bool* inUse)
    : db_(db), statement_(prepared), borrowed_(inUse) {
    *borrowed_ = true;
}

Statement::~Statement() {
    if (borrowed_) {
        sqlite3_reset(statement_);
        sqlite3_clear_bindings(statement_);
        *borrowed_ = false;
    } else {
        sqlite3_finalize(statement_);
    }
}

Statement& Statement::bind(int index, std::int64_t value) {
    check(db_, sqlite3_bind_int64(statement_, index, value), "bind");
    return *this;
}

Statement& Statement::bind(int index, double value) {
    check(db_, sqlite3_bind_double(statement_, index, value), "bind");
    return *this;
}

Statement& Statement::bind(int index, std::string_view value) {
    check(db_,
          sqlite3_bind_text64(statement_, index, value.data(), value.size(), SQLITE_TRANSIENT, SQLITE_UTF8),
          "bind");
    return *this;
}

Statement& Statement::bindNull(int index) {
    check(db_, sqlite3_bind_null(statement_, index), "bind");
    return *this;
}

bool Statement::step() {
    int code = sqlite3_step(statement_);
    if (code == SQLITE_ROW) {
        return true;
    }
    if (code == SQLITE_DONE) {
        return false;
    }
    throw SqlError(std::string("step: ") + sqlite3_errmsg(db_));
}

void Statement::run() {
    while (step()) {
    }
}

void Statement::reset() {
    sqlite3_reset(statement_);
    sqlite3_clear_bindings(statement_);
}

std::int64_t Statement::integer(int column) const {
    return sqlite3_column_int64(statement_, column);
}

double Statement::real(int column) const {
    return sqlite3_column_double(statement_, column);
}

std::string Statement::text(int column) const {
    auto bytes = reinterpret_cast<const char*>(sqlite3_column_text(statement_, column));
    if (!bytes) {
        return {};
    }
    return std::string(bytes, static_cast<size_t>(sqlite3_column_bytes(statement_, column)));
}

bool Statement::isNull(int column) const {
    return sqlite3_column_type(statement_, column) == SQLITE_NULL;
}

}  // namespace zorlet::sandbox
