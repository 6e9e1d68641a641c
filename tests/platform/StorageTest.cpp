#include "platform/AtomicFile.h"
#include "platform/DataFolder.h"
#include "platform/Json.h"
#include "platform/KeyedArchive.h"
#include "platform/UserDefaults.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

namespace zorlet::test {
namespace {

namespace fs = std::filesystem;

class StorageTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = DataFolder::shared().root() /
                  ("storage-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }
    std::size_t fileCount() const {
        return static_cast<std::size_t>(
            std::distance(fs::directory_iterator(folder_), fs::directory_iterator()));
    }
    fs::path folder_;
};

TEST_F(StorageTest, AtomicWriteReplacesWholeFileAndLeavesNoTemporaries) {
    fs::path file = folder_ / "nested" / "data.txt";
    EXPECT_EQ(AtomicFile::write(file, "first version"), "");
    EXPECT_EQ(AtomicFile::write(file, "second"), "");
    EXPECT_EQ(AtomicFile::read(file).value_or(""), "second");
    EXPECT_EQ(std::distance(fs::directory_iterator(file.parent_path()), fs::directory_iterator()), 1);
    EXPECT_FALSE(AtomicFile::read(folder_ / "missing"));
}

TEST_F(StorageTest, FailedWriteKeepsTheOldFileAndSaysWhy) {
    fs::path file = folder_ / "keep.txt";
    ASSERT_EQ(AtomicFile::write(file, "precious"), "");
    // A folder where the file should go cannot be replaced by a file.
    fs::path blocked = folder_ / "blocked";
    fs::create_directories(blocked / "child");
    EXPECT_NE(AtomicFile::write(blocked, "x"), "");
    EXPECT_TRUE(fs::is_directory(blocked));
    EXPECT_EQ(AtomicFile::read(file).value_or(""), "precious");
    EXPECT_EQ(fileCount(), 2u);
}

TEST_F(StorageTest, UserDefaultsSurviveAReopenOnlyAfterSynchronize) {
    fs::path file = folder_ / "defaults.json";
    {
        UserDefaults defaults(file);
        defaults.setBool("1.2.0_guidance_used", true);
        defaults.setInteger("count", 42);
        defaults.setDouble("beijingAlertShowTime", 1700000000.5);
        defaults.setString("name", "小明");
        EXPECT_TRUE(defaults.synchronize());
        defaults.setString("unsaved", "lost");
    }
    UserDefaults reopened(file);
    EXPECT_TRUE(reopened.boolForKey("1.2.0_guidance_used"));
    EXPECT_EQ(reopened.integerForKey("count"), 42);
    EXPECT_DOUBLE_EQ(reopened.doubleForKey("beijingAlertShowTime"), 1700000000.5);
    EXPECT_EQ(reopened.stringForKey("name").value_or(""), "小明");
    EXPECT_FALSE(reopened.hasKey("unsaved"));
    EXPECT_FALSE(reopened.boolForKey("absent"));
    EXPECT_FALSE(reopened.stringForKey("absent"));
}

TEST_F(StorageTest, CorruptDefaultsStartEmptyInsteadOfFailing) {
    fs::path file = folder_ / "defaults.json";
    ASSERT_EQ(AtomicFile::write(file, "{not json"), "");
    UserDefaults defaults(file);
    EXPECT_FALSE(defaults.hasKey("anything"));
    defaults.setInteger("n", 1);
    EXPECT_TRUE(defaults.synchronize());
    EXPECT_EQ(UserDefaults(file).integerForKey("n"), 1);
}

TEST_F(StorageTest, KeyedArchiveIsPrivateAndReadsNothingWhenMissingOrForeign) {
    fs::path file = folder_ / "user";
    ASSERT_TRUE(KeyedArchive::write(file, "LoginUser", {{"pToken", "abc"}, {"lToken", "def"}}));
    struct stat info {};
    ASSERT_EQ(::stat(file.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);

    auto fields = KeyedArchive::read(file, "LoginUser");
    ASSERT_TRUE(fields);
    EXPECT_EQ((*fields)["pToken"], "abc");
    EXPECT_FALSE(KeyedArchive::read(file, "SomethingElse"));
    EXPECT_FALSE(KeyedArchive::read(folder_ / "absent", "LoginUser"));
    ASSERT_EQ(AtomicFile::write(file, "\x01\x02garbage"), "");
    EXPECT_FALSE(KeyedArchive::read(file, "LoginUser"));
}

// Saving the same session again must not cost a flush to disk, but a copy
// that lost its privacy or differs is written anew.
TEST_F(StorageTest, KeyedArchiveLeavesAnUnchangedPrivateFileAlone) {
    fs::path file = folder_ / "user";
    Json fields = {{"pToken", "abc"}, {"lToken", "def"}};
    ASSERT_TRUE(KeyedArchive::write(file, "LoginUser", fields));
    auto inode = [&] {
        struct stat info {};
        EXPECT_EQ(::stat(file.c_str(), &info), 0);
        return info;
    };
    auto first = inode();
    ASSERT_TRUE(KeyedArchive::write(file, "LoginUser", fields));
    EXPECT_EQ(inode().st_ino, first.st_ino);

    ASSERT_EQ(::chmod(file.c_str(), 0644), 0);
    ASSERT_TRUE(KeyedArchive::write(file, "LoginUser", fields));
    EXPECT_NE(inode().st_ino, first.st_ino);
    EXPECT_EQ(inode().st_mode & 0777, 0600u);

    fields["lToken"] = "ghi";
    ASSERT_TRUE(KeyedArchive::write(file, "LoginUser", fields));
    EXPECT_EQ((*KeyedArchive::read(file, "LoginUser"))["lToken"], "ghi");
}

}  // namespace
}  // namespace zorlet::test
