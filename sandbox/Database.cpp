#include "sandbox/Database.h"

#include "sandbox/SqlError.h"

#include <iterator>

namespace zorlet::sandbox {

namespace {

// Each entry moves the schema one version up; never edit an entry that has shipped.
const char* const migrations[] = {
    R"sql(
CREATE TABLE users (
    uid INTEGER PRIMARY KEY AUTOINCREMENT,
    account TEXT UNIQUE COLLATE NOCASE,
    password_hash TEXT,
    nickname TEXT NOT NULL,
    gender INTEGER,
    birth_year INTEGER NOT NULL DEFAULT 0,
    birth_month INTEGER NOT NULL DEFAULT 0,
    birth_day INTEGER NOT NULL DEFAULT 0,
    profession_id INTEGER NOT NULL DEFAULT 0,
    profession TEXT NOT NULL DEFAULT '',
    province_id INTEGER NOT NULL DEFAULT 0,
    province_name TEXT NOT NULL DEFAULT '',
    city_id INTEGER NOT NULL DEFAULT 0,
    city_name TEXT NOT NULL DEFAULT '',
    town_id INTEGER NOT NULL DEFAULT 0,
    town_name TEXT NOT NULL DEFAULT '',
    feature TEXT NOT NULL DEFAULT '',
    logo TEXT NOT NULL DEFAULT '',
    new_logo TEXT NOT NULL DEFAULT '',
    logo_verify_state INTEGER NOT NULL DEFAULT 0,
    has_guided INTEGER NOT NULL DEFAULT 0,
    tp_id INTEGER NOT NULL DEFAULT 0,
    tp_account TEXT,
    token_expired INTEGER NOT NULL DEFAULT 0,
    longitude REAL,
    latitude REAL,
    phone_type TEXT NOT NULL DEFAULT '',
    user_place TEXT NOT NULL DEFAULT '',
    location_secret INTEGER NOT NULL DEFAULT 0,
    phone_secret INTEGER NOT NULL DEFAULT 0,
    synchronize_secret INTEGER NOT NULL DEFAULT 0,
    social_secret INTEGER NOT NULL DEFAULT 0,
    unread_notices INTEGER NOT NULL DEFAULT 0,
    register_time INTEGER NOT NULL,
    last_active INTEGER NOT NULL
);
CREATE UNIQUE INDEX users_external ON users(tp_id, tp_account) WHERE tp_account IS NOT NULL;
CREATE INDEX users_nickname ON users(nickname);
CREATE INDEX users_active ON users(last_active);

CREATE TABLE sessions (
    id INTEGER PRIMARY KEY,
    p_token TEXT NOT NULL UNIQUE,
    l_token TEXT NOT NULL UNIQUE,
    uid INTEGER NOT NULL REFERENCES users(uid) ON DELETE CASCADE,
    created INTEGER NOT NULL,
    revoked INTEGER NOT NULL DEFAULT 0
);
CREATE INDEX sessions_uid ON sessions(uid);

CREATE TABLE posts (
    post_id INTEGER PRIMARY KEY AUTOINCREMENT,
    uid INTEGER NOT NULL REFERENCES users(uid) ON DELETE CASCADE,
    purpose TEXT NOT NULL DEFAULT '',
    content TEXT NOT NULL DEFAULT '',
    place TEXT NOT NULL DEFAULT '',
    city_name TEXT NOT NULL DEFAULT '',
    date_string TEXT NOT NULL DEFAULT '',
    category_id INTEGER NOT NULL DEFAULT 0,
    category_name TEXT NOT NULL DEFAULT '',
    idea_id INTEGER NOT NULL DEFAULT 0,
    link TEXT NOT NULL DEFAULT '',
    pic TEXT NOT NULL DEFAULT '',
    resp_cnt INTEGER NOT NULL DEFAULT 0,
    created INTEGER NOT NULL,
    deleted INTEGER NOT NULL DEFAULT 0
);
CREATE INDEX posts_author ON posts(uid, deleted, created);

CREATE TABLE post_responses (
    post_id INTEGER NOT NULL REFERENCES posts(post_id) ON DELETE CASCADE,
    uid INTEGER NOT NULL REFERENCES users(uid) ON DELETE CASCADE,
    created INTEGER NOT NULL,
    PRIMARY KEY (post_id, uid)
);

CREATE TABLE messages (
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    from_uid INTEGER NOT NULL REFERENCES users(uid) ON DELETE CASCADE,
    to_uid INTEGER NOT NULL REFERENCES users(uid) ON DELETE CASCADE,
    content TEXT NOT NULL DEFAULT '',
    pic TEXT NOT NULL DEFAULT '',
    created INTEGER NOT NULL,
    is_read INTEGER NOT NULL DEFAULT 0
);
CREATE INDEX messages_pair ON messages(to_uid, from_uid, created);

CREATE TABLE devices (
    token TEXT PRIMARY KEY,
    uid INTEGER NOT NULL REFERENCES users(uid) ON DELETE CASCADE,
    updated INTEGER NOT NULL
);

CREATE TABLE pictures (
    name TEXT PRIMARY KEY,
    uid INTEGER,
    content_type TEXT NOT NULL,
    bytes INTEGER NOT NULL,
    created INTEGER NOT NULL
);

CREATE TABLE outbox (
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    recipient TEXT NOT NULL,
    subject TEXT NOT NULL,
    body TEXT NOT NULL,
    created INTEGER NOT NULL
);

CREATE TABLE password_resets (
    token TEXT PRIMARY KEY,
    uid INTEGER NOT NULL REFERENCES users(uid) ON DELETE CASCADE,
    created INTEGER NOT NULL,
    used INTEGER NOT NULL DEFAULT 0
);

CREATE TABLE external_grants (
    code TEXT PRIMARY KEY,
    tp_id INTEGER NOT NULL,
    purpose TEXT NOT NULL,
    external_account TEXT NOT NULL,
    created INTEGER NOT NULL,
    used INTEGER NOT NULL DEFAULT 0
);

CREATE TABLE preference_answers (
    uid INTEGER NOT NULL REFERENCES users(uid) ON DELETE CASCADE,
    preference_id INTEGER NOT NULL,
    answer TEXT NOT NULL DEFAULT '[]',
    description TEXT NOT NULL DEFAULT '',
    PRIMARY KEY (uid, preference_id)
);

CREATE TABLE meta (
    key TEXT PRIMARY KEY,
    value TEXT NOT NULL
);
)sql",
    // Private messages. Every message between two users is one row of
    //   messages(id, from_uid, to_uid, content, pic, created, is_read, client_msg_id)
    // (id is the client's dialogContentId; pic a stored picture name or ''; created in
    // seconds; is_read set when the receiver opens the conversation; client_msg_id the
    // sender's own id, NULL for messages the service writes itself). Anything that
    // writes a message (invitations, comments, rescue requests) inserts such a row;
    // dialogs are made from the rows on demand.
    // A dialog is the pair of its two users (low_uid < high_uid) with a stable id;
    // deleting it hides, for that one user, every message up to cleared_through.
    // blacklist(uid, shield_uid, created): uid has blocked shield_uid.
    R"sql(
ALTER TABLE messages ADD COLUMN client_msg_id TEXT;
CREATE UNIQUE INDEX messages_client_id ON messages(from_uid, client_msg_id) WHERE client_msg_id IS NOT NULL;
CREATE INDEX messages_sent ON messages(from_uid, to_uid, id);
CREATE INDEX messages_unread ON messages(to_uid, is_read);

CREATE TABLE dialogs (
    dialog_id INTEGER PRIMARY KEY AUTOINCREMENT,
    low_uid INTEGER NOT NULL REFERENCES users(uid) ON DELETE CASCADE,
    high_uid INTEGER NOT NULL REFERENCES users(uid) ON DELETE CASCADE,
    UNIQUE (low_uid, high_uid)
);

CREATE TABLE dialog_cleared (
    dialog_id INTEGER NOT NULL REFERENCES dialogs(dialog_id) ON DELETE CASCADE,
    uid INTEGER NOT NULL REFERENCES users(uid) ON DELETE CASCADE,
    cleared_through INTEGER NOT NULL,
    PRIMARY KEY (dialog_id, uid)
);

CREATE TABLE blacklist (
    uid INTEGER NOT NULL REFERENCES users(uid) ON DELETE CASCADE,
    shield_uid INTEGER NOT NULL REFERENCES users(uid) ON DELETE CASCADE,
    created INTEGER NOT NULL,
    PRIMARY KEY (uid, shield_uid)
);
)sql",
    // Ideas the service publishes and who wants to go. A want is one row per
    // user and idea (the post it made is kept with it); use_count mirrors the
    // number of wants. idea_shares records the texts shared to a platform.
    // Older databases may hold an idea_wants table made on the fly without ideas
    // behind it; its rows name no idea, so it is replaced.
    R"sql(
DROP TABLE IF EXISTS idea_wants;
CREATE TABLE ideas (
    idea_id INTEGER PRIMARY KEY AUTOINCREMENT,
    content TEXT NOT NULL,
    place TEXT NOT NULL DEFAULT '',
    start_time TEXT NOT NULL DEFAULT '',
    end_time TEXT NOT NULL DEFAULT '',
    charge INTEGER,
    city_id INTEGER NOT NULL DEFAULT 0,
    city_name TEXT NOT NULL DEFAULT '',
    town_name TEXT NOT NULL DEFAULT '',
    category_id INTEGER NOT NULL DEFAULT 0,
    category_name TEXT NOT NULL DEFAULT '',
    pic TEXT NOT NULL DEFAULT '',
    detail TEXT NOT NULL DEFAULT '',
    longitude REAL,
    latitude REAL,
    use_count INTEGER NOT NULL DEFAULT 0,
    created INTEGER NOT NULL
);
CREATE INDEX ideas_category ON ideas(category_id, created);

CREATE TABLE idea_wants (
    idea_id INTEGER NOT NULL REFERENCES ideas(idea_id) ON DELETE CASCADE,
    uid INTEGER NOT NULL REFERENCES users(uid) ON DELETE CASCADE,
    post_id INTEGER,
    created INTEGER NOT NULL,
    PRIMARY KEY (idea_id, uid)
);
CREATE INDEX idea_wants_uid ON idea_wants(uid);

CREATE TABLE idea_shares (
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    idea_id INTEGER NOT NULL REFERENCES ideas(idea_id) ON DELETE CASCADE,
    uid INTEGER NOT NULL REFERENCES users(uid) ON DELETE CASCADE,
    content TEXT NOT NULL,
    created INTEGER NOT NULL
);
)sql",
    // Who follows whom: uid follows interest_uid. A user's follow counters are
    // counted from these rows, so they always agree with the follow lists.
    // reports keeps what users reported for the operators to review.
    R"sql(
CREATE TABLE interests (
    uid INTEGER NOT NULL REFERENCES users(uid) ON DELETE CASCADE,
    interest_uid INTEGER NOT NULL REFERENCES users(uid) ON DELETE CASCADE,
    created INTEGER NOT NULL,
    PRIMARY KEY (uid, interest_uid)
);
CREATE INDEX interests_followers ON interests(interest_uid, created);

CREATE TABLE reports (
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    uid INTEGER NOT NULL REFERENCES users(uid) ON DELETE CASCADE,
    report_uid INTEGER NOT NULL REFERENCES users(uid) ON DELETE CASCADE,
    report_type INTEGER NOT NULL,
    content_type INTEGER NOT NULL,
    content_id INTEGER NOT NULL,
    created INTEGER NOT NULL
);
)sql",
    // invitations keeps the texts users sent to invite friends, for the operators.
    R"sql(
CREATE TABLE invitations (
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    uid INTEGER NOT NULL REFERENCES users(uid) ON DELETE CASCADE,
    content TEXT NOT NULL,
    created INTEGER NOT NULL
);
)sql",
    // The external review service: place categories and the places, rated in tenths of a star.
    R"sql(
CREATE TABLE external_categories (
    category_id INTEGER PRIMARY KEY,
    name TEXT NOT NULL,
    position INTEGER NOT NULL
);
CREATE TABLE external_places (
    place_id INTEGER PRIMARY KEY,
    category_id INTEGER NOT NULL REFERENCES external_categories(category_id),
    name TEXT NOT NULL,
    address TEXT NOT NULL,
    city_name TEXT NOT NULL,
    longitude REAL NOT NULL,
    latitude REAL NOT NULL,
    rating INTEGER NOT NULL,
    reviews INTEGER NOT NULL DEFAULT 0,
    photo INTEGER NOT NULL DEFAULT 0
);
CREATE INDEX external_places_category ON external_places(category_id, rating);
)sql",
};

// The database this thread holds the write turn of, if any.
thread_local const Database* writing = nullptr;

struct WritingOnThisThread {
    explicit WritingOnThisThread(const Database* database) : previous(writing) { writing = database; }
    ~WritingOnThisThread() { writing = previous; }
    const Database* previous;
    WritingOnThisThread(const WritingOnThisThread&) = delete;
    WritingOnThisThread& operator=(const WritingOnThisThread&) = delete;
};

}  // namespace

class Database::Lease {
public:
    explicit Lease(Database& database) : database_(database), connection_(database.acquire()) {}
    ~Lease() { database_.release(std::move(connection_)); }
    Connection& operator*() { return *connection_; }

private:
    Database& database_;
    std::unique_ptr<Connection> connection_;
};

Result<std::unique_ptr<Database>> Database::open(const std::string& path, int poolSize) {
    auto database = std::unique_ptr<Database>(new Database());
    for (int i = 0; i < poolSize; ++i) {
        auto connection = Connection::open(path);
        if (!connection) {
            return Failure{connection.error()};
        }
        if (i == 0) {
            try {
                database->migrate(**connection);
            } catch (const SqlError& e) {
                return Failure{std::string("schema migration failed: ") + e.what()};
            }
        }
        database->idle_.push_back(std::move(*connection));
    }
    return database;
}

void Database::migrate(Connection& connection) {
    connection.execute("BEGIN IMMEDIATE");
    try {
        auto versionQuery = connection.prepare("PRAGMA user_version");
        versionQuery.step();
        auto version = static_cast<int>(versionQuery.integer(0));
        constexpr int known = static_cast<int>(std::size(migrations));
        if (version > known) {
            throw SqlError("the database was written by a newer sandbox (schema " + std::to_string(version) +
                           ")");
        }
        for (int next = version; next < known; ++next) {
            connection.execute(migrations[next]);
        }
        connection.execute("PRAGMA user_version=" + std::to_string(known));
        connection.execute("COMMIT");
    } catch (...) {
        connection.execute("ROLLBACK");
        throw;
    }
}

std::unique_ptr<Connection> Database::acquire() {
    std::unique_lock lock(mutex_);
    available_.wait(lock, [this] { return !idle_.empty(); });
    auto connection = std::move(idle_.back());
    idle_.pop_back();
    return connection;
}

void Database::release(std::unique_ptr<Connection> connection) {
    {
        std::lock_guard lock(mutex_);
        idle_.push_back(std::move(connection));
    }
    available_.notify_one();
}

void Database::read(const std::function<void(Connection&)>& work) {
    Lease lease(*this);
    auto& connection = *lease;
    // One snapshot for the whole read, so a page and its count agree.
    transact(connection, "BEGIN", work);
}

void Database::write(const std::function<void(Connection&)>& work) {
    // Writers take turns here rather than in SQLite, whose busy handler sleeps
    // (1, 2, 5, 10 ms…) between attempts and would hold a pooled connection
    // while it sleeps. The handler still guards against other processes.
    if (writing == this) {
        // A write inside a write would wait for itself for ever.
        throw SqlError("a write transaction is already open on this thread");
    }
    std::lock_guard turn(writer_);
    WritingOnThisThread mark(this);
    Lease lease(*this);
    transact(*lease, "BEGIN IMMEDIATE", work);
}

void Database::transact(Connection& connection, std::string_view begin,
                        const std::function<void(Connection&)>& work) {
    // Prepared once per connection: parsing BEGIN and COMMIT anew cost as much as a small query.
    connection.prepare(begin).run();
    try {
        work(connection);
        connection.prepare("COMMIT").run();
    } catch (...) {
        try {
            connection.prepare("ROLLBACK").run();
        } catch (const SqlError&) {
            // The transaction is already gone (SQLite rolls back on some errors itself).
        }
        throw;
    }
}

}  // namespace zorlet::sandbox
