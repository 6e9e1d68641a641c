#include "sandbox/Database.h"
#include "sandbox/SqlError.h"

#include <gtest/gtest.h>

#include <unistd.h>
#include <filesystem>
#include <thread>
#include <vector>

namespace zorlet::sandbox::test {

namespace {

class DatabaseTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ =
            std::filesystem::temp_directory_path() / ("zorlet-database-test-" + std::to_string(::getpid()));
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
        auto opened = Database::open((folder_ / "test.db").string(), 4);
        ASSERT_TRUE(opened) << opened.error();
        database_ = std::move(*opened);
        database_->write([](Connection& connection) {
            connection.execute("INSERT INTO meta (key, value) VALUES ('counter', '0')");
        });
    }
    void TearDown() override {
        database_.reset();
        std::filesystem::remove_all(folder_);
    }

    std::int64_t counter() {
        std::int64_t value = -1;
        database_->read([&](Connection& connection) {
            auto query = connection.prepare("SELECT CAST(value AS INTEGER) FROM meta WHERE key = 'counter'");
            query.step();
            value = query.integer(0);
        });
        return value;
    }

    std::filesystem::path folder_;
    std::unique_ptr<Database> database_;
};

}  // namespace

TEST_F(DatabaseTest, WritersFromManyThreadsTakeTurnsAndNoneIsLost) {
    constexpr int threads = 8;
    constexpr int incrementsEach = 40;
    std::vector<std::thread> writers;
    for (int t = 0; t < threads; ++t) {
        writers.emplace_back([this] {
            for (int i = 0; i < incrementsEach; ++i) {
                database_->write([](Connection& connection) {
                    // Read, then write in the same transaction: interleaved writers would lose updates.
                    auto read =
                        connection.prepare("SELECT CAST(value AS INTEGER) FROM meta WHERE key = 'counter'");
                    read.step();
                    auto next = read.integer(0) + 1;
                    connection.prepare("UPDATE meta SET value = ? WHERE key = 'counter'")
                        .bind(1, std::to_string(next))
                        .run();
                });
            }
        });
    }
    for (auto& writer : writers) {
        writer.join();
    }
    EXPECT_EQ(counter(), threads * incrementsEach);
}

TEST_F(DatabaseTest, AWriteInsideAWriteFailsInsteadOfWaitingForItselfAndLeavesNoTrace) {
    auto writeInsideAWrite = [this](Connection& connection) {
        connection.execute("UPDATE meta SET value = '5' WHERE key = 'counter'");
        database_->write([](Connection&) {});
    };
    EXPECT_THROW(database_->write(writeInsideAWrite), SqlError);
    EXPECT_EQ(counter(), 0);  // the outer transaction rolled back
    database_->write([](Connection& connection) {
        connection.execute("UPDATE meta SET value = '1' WHERE key = 'counter'");
    });
    EXPECT_EQ(counter(), 1);

    // A read inside a write is fine: it takes another connection and sees the last commit.
    database_->write([this](Connection& connection) {
        connection.execute("UPDATE meta SET value = '2' WHERE key = 'counter'");
        EXPECT_EQ(counter(), 1);
    });
    EXPECT_EQ(counter(), 2);
}

}  // namespace zorlet::sandbox::test
