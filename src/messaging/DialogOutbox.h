#pragma once

#include "platform/Result.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

struct sqlite3;

namespace zorlet {

// One private message the server has not yet accepted.
struct OutboxEntry {
    std::string clientMsgId;
    std::int64_t senderUid = 0;
    std::int64_t receiverUid = 0;
    std::string content;
    // The picture's JPEG in the outbox folder, or empty.
    std::string pictureFile;
    double createTime = 0;  // seconds since 1970
    bool failed = false;
};

// The messages the user sent that the server has not accepted yet, kept in
// SQLite (WAL) in the data folder so that leaving the conversation, quitting
// or a crash never loses one. A message is written before its request
// starts and removed only once the server accepted it (or the user deleted it).
// Lives on the main loop.
class DialogOutbox {
public:
    static constexpr const char* kFileName = "dialog_outbox.sqlite";
    static constexpr const char* kPictureFolder = "dialog_outbox";

    // The outbox of the current data folder, opened on first use and again
    // when the data folder changes. Null when the database cannot be opened.
    // Whoever keeps messages in it holds it: a folder change leaves an open
    // conversation with the outbox its messages are in.
    static std::shared_ptr<DialogOutbox> shared();
    // The one open outbox kept in `file` (opened when none is). A file deleted
    // under it (a clean start) retires the old one and opens a new file.
    static std::shared_ptr<DialogOutbox> at(const std::filesystem::path& file);

    // A failure when the file cannot be opened or prepared.
    static Result<std::unique_ptr<DialogOutbox>> open(const std::filesystem::path& file);
    ~DialogOutbox();
    DialogOutbox(const DialogOutbox&) = delete;
    DialogOutbox& operator=(const DialogOutbox&) = delete;

    // Durable when it returns true: the picture file and the row are on disk.
    bool add(const OutboxEntry& entry, const std::string& pictureJpeg = {});
    bool setFailed(const std::string& clientMsgId, bool failed);
    // Drops the row and its picture file.
    bool remove(const std::string& clientMsgId);
    std::optional<OutboxEntry> find(const std::string& clientMsgId) const;
    // The sender's messages to one receiver, in the order they were sent.
    std::vector<OutboxEntry> entriesFor(std::int64_t senderUid, std::int64_t receiverUid) const;
    std::vector<OutboxEntry> all() const;
    std::size_t count() const;

    const std::filesystem::path& file() const { return file_; }
    // Its file was deleted: it keeps nothing more; `at(file())` gives the one that does.
    bool isRetired() const { return db_ == nullptr; }
    std::filesystem::path pictureFolder() const;

    // A new message id: random, 32 hex digits, unique across processes and restarts.
    static std::string makeClientMsgId();

private:
    DialogOutbox(sqlite3* db, std::filesystem::path file) : db_(db), file_(std::move(file)) {}
    // Closed at once, before a new file takes the old one's name: closing later
    // would delete the write-ahead log by name, the new file's log with it.
    void retire();
    bool execute(const char* sql) const;
    std::vector<OutboxEntry> select(const char* sql, std::int64_t first, std::int64_t second) const;

    sqlite3* db_;
    std::filesystem::path file_;
};

}  // namespace zorlet
