#pragma once

#include "platform/Result.h"
#include "sandbox/Connection.h"

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace zorlet::sandbox {

// The service's storage: one SQLite file in WAL mode, shared by a small pool
// of connections so that readers run side by side while writers take turns.
class Database {
public:
    // Opens (creating when needed) and migrates the schema.
    static Result<std::unique_ptr<Database>> open(const std::string& path, int poolSize = 6);

    // Runs `work` on a free connection inside a read transaction (one consistent snapshot).
    void read(const std::function<void(Connection&)>& work);
    // Runs `work` in one immediate transaction; any SqlError rolls it back and propagates.
    void write(const std::function<void(Connection&)>& work);

    static constexpr int schemaVersion = 1;

private:
    class Lease;
    Database() = default;
    std::unique_ptr<Connection> acquire();
    void release(std::unique_ptr<Connection> connection);
    void migrate(Connection& connection);
    static void transact(Connection& connection, std::string_view begin,
                         const std::function<void(Connection&)>& work);

    std::mutex mutex_;
    std::condition_variable available_;
    std::vector<std::unique_ptr<Connection>> idle_;
    std::mutex writer_;
};

}  // namespace zorlet::sandbox
