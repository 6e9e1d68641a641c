#include "messaging/DialogOutbox.h"

#include "platform/AtomicFile.h"
#include "platform/DataFolder.h"
#include "platform/Log.h"

#include <sqlite3.h>

#include <array>
#include <cstdio>
#include <map>
#include <random>
#include <system_error>

namespace zorlet {

namespace {

constexpr const char* kSchema = R"sql(
CREATE TABLE IF NOT EXISTS outbox (
    client_msg_id TEXT PRIMARY KEY,
    sender_uid INTEGER NOT NULL,
    receiver_uid INTEGER NOT NULL,
    content TEXT NOT NULL,
    picture_file TEXT NOT NULL DEFAULT '',
    create_time REAL NOT NULL,
    failed INTEGER NOT NULL DEFAULT 0,
    seq INTEGER NOT NULL
);
CREATE INDEX IF NOT EXISTS outbox_pair ON outbox(sender_uid, receiver_uid, seq);
)sql";

constexpr const char* kColumns =
    "SELECT client_msg_id, sender_uid, receiver_uid, content, picture_file, create_time, failed FROM outbox ";

// A statement that finalizes itself, whatever path leaves the function.
class Query {
public:
    // A retired outbox has no database: its statements do nothing and report failure.
    Query(sqlite3* db, const char* sql) {
        if (db == nullptr) {
            return;
        }
        if (sqlite3_prepare_v2(db, sql, -1, &statement_, nullptr) != SQLITE_OK) {
            log().warn("dialog outbox: {}", sqlite3_errmsg(db));
            statement_ = nullptr;
        }
    }
    ~Query() { sqlite3_finalize(statement_); }
    Query(const Query&) = delete;
    Query& operator=(const Query&) = delete;

    bool ok() const { return statement_ != nullptr; }
    Query& bind(int index, const std::string& text) {
        if (statement_) {
            sqlite3_bind_text(statement_, index, text.data(), static_cast<int>(text.size()),
                              SQLITE_TRANSIENT);
        }
        return *this;
    }
    Query& bind(int index, std::int64_t value) {
        if (statement_) {
            sqlite3_bind_int64(statement_, index, value);
        }
        return *this;
    }
    Query& bind(int index, double value) {
        if (statement_) {
            sqlite3_bind_double(statement_, index, value);
        }
        return *this;
    }
    // SQLITE_ROW, SQLITE_DONE or an error code.
    int step() { return statement_ ? sqlite3_step(statement_) : SQLITE_ERROR; }
    std::string text(int column) const {
        const auto* bytes = sqlite3_column_text(statement_, column);
        return bytes ? std::string(reinterpret_cast<const char*>(bytes),
                                   static_cast<std::size_t>(sqlite3_column_bytes(statement_, column)))
                     : std::string();
    }
    std::int64_t integer(int column) const { return sqlite3_column_int64(statement_, column); }
    double real(int column) const { return sqlite3_column_double(statement_, column); }

private:
    sqlite3_stmt* statement_ = nullptr;
};

OutboxEntry readEntry(const Query& query) {
    OutboxEntry entry;
    entry.clientMsgId = query.text(0);
    entry.senderUid = query.integer(1);
    entry.receiverUid = query.integer(2);
    entry.content = query.text(3);
    entry.pictureFile = query.text(4);
    entry.createTime = query.real(5);
    entry.failed = query.integer(6) != 0;
    return entry;
}

// One connection per file in the whole process, so that a deleted file can be
// retired wherever it is still held.
struct SharedOutboxes {
    // The current data folder's, kept open between uses.
    std::shared_ptr<DialogOutbox> current;
    std::map<std::filesystem::path, std::weak_ptr<DialogOutbox>> byFile;
};

SharedOutboxes& sharedOutboxes() {
    static SharedOutboxes shared;
    return shared;
}

}  // namespace

std::shared_ptr<DialogOutbox> DialogOutbox::shared() {
    auto& outboxes = sharedOutboxes();
    outboxes.current = at(DataFolder::shared().file(kFileName));
    return outboxes.current;
}

std::shared_ptr<DialogOutbox> DialogOutbox::at(const std::filesystem::path& file) {
    auto& byFile = sharedOutboxes().byFile;
    std::erase_if(byFile, [](const auto& entry) { return entry.second.expired(); });
    auto outbox = byFile[file].lock();
    std::error_code ignored;
    // A data folder emptied under us (a clean start) gets a fresh file, not writes into a deleted one.
    if (outbox && !outbox->isRetired() && !std::filesystem::exists(file, ignored)) {
        outbox->retire();
    }
    if (outbox && !outbox->isRetired()) {
        return outbox;
    }
    auto opened = open(file);
    if (!opened) {
        log().error("dialog outbox: cannot open: {}", opened.error());
        byFile.erase(file);
        return nullptr;
    }
    outbox = std::move(*opened);
    byFile[file] = outbox;
    return outbox;
}

Result<std::unique_ptr<DialogOutbox>> DialogOutbox::open(const std::filesystem::path& file) {
    std::error_code ignored;
    std::filesystem::create_directories(file.parent_path(), ignored);
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX,
                        nullptr) != SQLITE_OK) {
        Failure failure{db ? sqlite3_errmsg(db) : "out of memory"};
        sqlite3_close(db);
        return failure;
    }
    sqlite3_busy_timeout(db, 5000);
    auto outbox = std::unique_ptr<DialogOutbox>(new DialogOutbox(db, file));
    // FULL: a message the user saw accepted for sending is on disk before its request leaves.
    if (!outbox->execute("PRAGMA journal_mode=WAL") || !outbox->execute("PRAGMA synchronous=FULL") ||
        !outbox->execute(kSchema)) {
        return Failure{sqlite3_errmsg(db)};
    }
    return outbox;
}

DialogOutbox::~DialogOutbox() {
    sqlite3_close(db_);
}

void DialogOutbox::retire() {
    sqlite3_close(db_);
    db_ = nullptr;
    log().warn("dialog outbox: {} was deleted while open", file_.string());
}

bool DialogOutbox::execute(const char* sql) const {
    if (!db_) {
        return false;
    }
    char* message = nullptr;
    if (sqlite3_exec(db_, sql, nullptr, nullptr, &message) != SQLITE_OK) {
        log().warn("dialog outbox: {}", message ? message : "failed");
        sqlite3_free(message);
        return false;
    }
    return true;
}

std::filesystem::path DialogOutbox::pictureFolder() const {
    return file_.parent_path() / kPictureFolder;
}

bool DialogOutbox::add(const OutboxEntry& entry, const std::string& pictureJpeg) {
    if (!db_) {
        return false;
    }
    OutboxEntry stored = entry;
    if (!pictureJpeg.empty()) {
        // The picture first: a row never names a file that is not there.
        auto path = pictureFolder() / (entry.clientMsgId + ".jpg");
        auto failure = AtomicFile::write(path, pictureJpeg, 0600);
        if (!failure.empty()) {
            log().warn("dialog outbox: cannot keep the picture: {}", failure);
            return false;
        }
        stored.pictureFile = path.string();
    }
    Query insert(
        db_,
        "INSERT OR REPLACE INTO outbox (client_msg_id, sender_uid, receiver_uid, content, picture_file, "
        "create_time, failed, seq) VALUES (?, ?, ?, ?, ?, ?, ?, (SELECT COALESCE(MAX(seq), 0) + 1 FROM "
        "outbox))");
    insert.bind(1, stored.clientMsgId)
        .bind(2, stored.senderUid)
        .bind(3, stored.receiverUid)
        .bind(4, stored.content)
        .bind(5, stored.pictureFile)
        .bind(6, stored.createTime)
        .bind(7, static_cast<std::int64_t>(stored.failed ? 1 : 0));
    return insert.step() == SQLITE_DONE;
}

bool DialogOutbox::setFailed(const std::string& clientMsgId, bool failed) {
    Query update(db_, "UPDATE outbox SET failed = ? WHERE client_msg_id = ?");
    update.bind(1, static_cast<std::int64_t>(failed ? 1 : 0)).bind(2, clientMsgId);
    return update.step() == SQLITE_DONE;
}

bool DialogOutbox::remove(const std::string& clientMsgId) {
    auto entry = find(clientMsgId);
    Query removal(db_, "DELETE FROM outbox WHERE client_msg_id = ?");
    removal.bind(1, clientMsgId);
    if (removal.step() != SQLITE_DONE) {
        return false;
    }
    if (entry && !entry->pictureFile.empty()) {
        std::error_code ignored;
        std::filesystem::remove(entry->pictureFile, ignored);
    }
    return true;
}

std::optional<OutboxEntry> DialogOutbox::find(const std::string& clientMsgId) const {
    Query query(db_, (std::string(kColumns) + "WHERE client_msg_id = ?").c_str());
    query.bind(1, clientMsgId);
    if (query.step() != SQLITE_ROW) {
        return std::nullopt;
    }
    return readEntry(query);
}

std::vector<OutboxEntry> DialogOutbox::select(const char* sql, std::int64_t first,
                                              std::int64_t second) const {
    Query query(db_, sql);
    query.bind(1, first).bind(2, second);
    std::vector<OutboxEntry> entries;
    while (query.step() == SQLITE_ROW) {
        entries.push_back(readEntry(query));
    }
    return entries;
}

std::vector<OutboxEntry> DialogOutbox::entriesFor(std::int64_t senderUid, std::int64_t receiverUid) const {
    return select((std::string(kColumns) + "WHERE sender_uid = ? AND receiver_uid = ? ORDER BY seq").c_str(),
                  senderUid, receiverUid);
}

std::vector<OutboxEntry> DialogOutbox::all() const {
    return select((std::string(kColumns) + "WHERE ? = ? ORDER BY seq").c_str(), 0, 0);
}

std::size_t DialogOutbox::count() const {
    Query query(db_, "SELECT COUNT(*) FROM outbox");
    return query.step() == SQLITE_ROW ? static_cast<std::size_t>(query.integer(0)) : 0;
}

std::string DialogOutbox::makeClientMsgId() {
    static std::random_device device;
    std::array<unsigned, 4> words{device(), device(), device(), device()};
    char text[33];
    std::snprintf(text, sizeof text, "%08x%08x%08x%08x", words[0], words[1], words[2], words[3]);
    return text;
}

}  // namespace zorlet
