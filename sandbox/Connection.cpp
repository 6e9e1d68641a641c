#include "sandbox/Connection.h"

#include "sandbox/SqlError.h"

#include <sqlite3.h>

namespace zorlet::sandbox {

Result<std::unique_ptr<Connection>> Connection::open(const std::string& path) {
    sqlite3* db = nullptr;
    int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX;
    if (sqlite3_open_v2(path.c_str(), &db, flags, nullptr) != SQLITE_OK) {
        Failure refused{db ? sqlite3_errmsg(db) : "out of memory"};
        sqlite3_close(db);
        return refused;
    }
    // Writers queue behind each other instead of failing under load.
    sqlite3_busy_timeout(db, 10000);
    auto connection = std::unique_ptr<Connection>(new Connection(db));
    try {
        connection->execute("PRAGMA journal_mode=WAL");
        connection->execute("PRAGMA synchronous=NORMAL");
        connection->execute("PRAGMA foreign_keys=ON");
    } catch (const SqlError& e) {
        return Failure{e.what()};
    }
    return connection;
}

Connection::~Connection() {
    for (auto& [sql, entry] : prepared_) {
        sqlite3_finalize(entry->statement);
    }
    sqlite3_close_v2(db_);
}

Statement Connection::prepare(std::string_view sql) {
    auto& entry = prepared_[std::string(sql)];
    if (!entry) {
        entry = std::make_unique<Prepared>();
    }
    if (entry->inUse) {
        return Statement(db_, sql);
    }
    if (!entry->statement) {
        if (sqlite3_prepare_v3(db_, sql.data(), static_cast<int>(sql.size()), SQLITE_PREPARE_PERSISTENT,
                               &entry->statement, nullptr) != SQLITE_OK) {
            entry->statement = nullptr;
            throw SqlError(std::string("prepare: ") + sqlite3_errmsg(db_));
        }
    }
    return Statement(db_, entry->statement, &entry->inUse);
}

void Connection::execute(const std::string& sql) {
    char* message = nullptr;
    if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
        std::string text = message ? message : sqlite3_errmsg(db_);
        sqlite3_free(message);
        throw SqlError(text);
    }
}

std::int64_t Connection::lastInsertId() const {
    return sqlite3_last_insert_rowid(db_);
}

int Connection::changes() const {
    return sqlite3_changes(db_);
}

}  // namespace zorlet::sandbox
