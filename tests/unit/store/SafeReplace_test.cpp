// Whole-file replaces that stop at any step, and appends to files that cannot be opened.
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "store/CallList.h"
#include "store/CallerDatabase.h"
#include "store/RecordIo.h"
#include "support/TempFolder.h"

namespace telvor {
namespace {

using recordio::ReplaceStep;
using testing::ReadBytes;
using testing::WriteBytes;

constexpr ReplaceStep kSteps[] = {ReplaceStep::CreateNew, ReplaceStep::WriteNew,
                                  ReplaceStep::FlushNew, ReplaceStep::KeepBackup,
                                  ReplaceStep::SwapIn};

class SafeReplaceTest : public ::testing::Test {
  protected:
    testing::TempFolder folder_;
    const std::string path_ = folder_.File("CallerList.ddb");
    const std::string backup_ = folder_.File("CallerList.bak");
    const std::vector<unsigned char> old_ = std::vector<unsigned char>(3 * 832, 0x0A);
    const std::vector<unsigned char> new_ = std::vector<unsigned char>(5 * 832, 0x0B);
    const std::vector<unsigned char> olderBackup_ = std::vector<unsigned char>(832, 0x0C);

    // The data is never only in the backup: the file itself is always complete.
    void ExpectCompleteOldOrNew(const char* when) {
        const auto now = ReadBytes(path_);
        EXPECT_TRUE(now == old_ || now == new_) << when << ": " << now.size() << " bytes";
    }
};

TEST_F(SafeReplaceTest, EveryStepSeesACompleteFileAndAFailureKeepsTheOldOne) {
    for (ReplaceStep failing : kSteps) {
        SCOPED_TRACE(static_cast<int>(failing));
        WriteBytes(path_, old_);
        WriteBytes(backup_, olderBackup_);
        const bool ok = recordio::ReplaceWithBackup(path_, new_, [&](ReplaceStep step) {
            ExpectCompleteOldOrNew("before a step");
            return step == failing;
        });
        ExpectCompleteOldOrNew("after");
        EXPECT_FALSE(std::filesystem::exists(recordio::NewFileName(path_)));
        // No step may fail quietly: not even the backup, without which the old data would
        // be gone.
        EXPECT_FALSE(ok);
        EXPECT_EQ(ReadBytes(path_), old_);
        // A backup, where there is one, is a whole copy of the old data, never a part.
        if (std::filesystem::exists(backup_)) {
            const auto kept = ReadBytes(backup_);
            EXPECT_TRUE(kept == old_ || kept == olderBackup_) << kept.size();
        }
    }

    // Nothing failing: the new data in place, the old one as the only backup generation.
    WriteBytes(path_, old_);
    ASSERT_TRUE(recordio::ReplaceWithBackup(path_, new_, [&](ReplaceStep) {
        ExpectCompleteOldOrNew("before a step");
        return false;
    }));
    EXPECT_EQ(ReadBytes(path_), new_);
    EXPECT_EQ(ReadBytes(backup_), old_);
    // The backup is a file of its own: writing the new file in place leaves it alone.
    ASSERT_EQ(AppendCall(path_, {"a", "b", 1.0, false}), AppendResult::Written);
    EXPECT_EQ(ReadBytes(backup_), old_);
}

TEST_F(SafeReplaceTest, RealFileSystemFailures) {
    // The new file cannot be created (its name is taken by a folder): old file untouched.
    WriteBytes(path_, old_);
    std::filesystem::create_directory(recordio::NewFileName(path_));
    EXPECT_FALSE(ReplaceCallers(path_, {{"1", "a", "", ""}}));
    EXPECT_EQ(ReadBytes(path_), old_);
    EXPECT_FALSE(std::filesystem::exists(backup_));
    std::filesystem::remove(recordio::NewFileName(path_));

    // The target is a folder: the rename fails, the new file is cleaned up.
    const std::string folderTarget = folder_.File("Calls.ddb");
    std::filesystem::create_directory(folderTarget);
    std::filesystem::create_directory(folderTarget + "/inside");
    EXPECT_FALSE(ReplaceCalls(folderTarget, {{"a", "b", 1.0, false}}));
    EXPECT_TRUE(std::filesystem::is_directory(folderTarget + "/inside"));
    EXPECT_FALSE(std::filesystem::exists(recordio::NewFileName(folderTarget)));

    // The backup's name is taken by a folder that cannot be removed: neither link nor copy
    // can be made, so the file stays as it was and the write reports failure.
    WriteBytes(path_, old_);
    std::filesystem::create_directories(backup_ + "/inside");
    EXPECT_FALSE(ReplaceCallers(path_, {{"1", "a", "", ""}}));
    EXPECT_FALSE(ReplaceCalls(path_, {{"a", "b", 1.0, false}}));
    EXPECT_EQ(ReadBytes(path_), old_);
    EXPECT_FALSE(std::filesystem::exists(recordio::NewFileName(path_)));
    // A first write has nothing to keep, and needs no backup.
    const std::string first = folder_.File("CallerList");
    std::filesystem::create_directories(first + ".bak/inside");
    EXPECT_TRUE(ReplaceCallers(first, {{"1", "a", "", ""}}));
    EXPECT_EQ(LoadCallers(first).size(), 1u);
    std::filesystem::remove_all(backup_);

    // A file whose name already ends in ".bak" is its own backup name: it is replaced, never
    // first deleted as the old backup.
    const std::string bakNamed = folder_.File("Liste.bak");
    WriteBytes(bakNamed, old_);
    ASSERT_TRUE(recordio::ReplaceWithBackup(bakNamed, new_, [&](ReplaceStep) {
        const auto now = ReadBytes(bakNamed);
        EXPECT_TRUE(now == old_ || now == new_) << now.size();
        return false;
    }));
    EXPECT_EQ(ReadBytes(bakNamed), new_);

    // A leftover new file of an interrupted earlier replace is simply overwritten.
    WriteBytes(recordio::NewFileName(path_), std::vector<unsigned char>(100, 0xEE));
    ASSERT_TRUE(ReplaceCallers(path_, {{"1", "a", "", ""}}));
    EXPECT_EQ(LoadCallers(path_).size(), 1u);
    EXPECT_EQ(ReadBytes(backup_), old_);
    EXPECT_FALSE(std::filesystem::exists(recordio::NewFileName(path_)));
}

// Runs `append` where the file's permission bits apply: as root (whom they do not stop) in a
// child process that has given up root for the unprivileged "nobody" account.
AppendResult AppendWithoutPrivileges(const std::string& path, const CallRecord& record) {
    if (::geteuid() != 0) return AppendCall(path, record);
    constexpr uid_t kNobody = 65534;
    const pid_t child = ::fork();
    if (child == 0) {
        if (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0) ::_exit(100);
        ::_exit(static_cast<int>(AppendCall(path, record)));
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status) ||
        WEXITSTATUS(status) > static_cast<int>(AppendResult::Failed)) {
        ADD_FAILURE() << "the unprivileged append did not run";
        return AppendResult::Failed;
    }
    return static_cast<AppendResult>(WEXITSTATUS(status));
}

TEST(CallListAppend, AFileThatExistsButCannotBeReadIsNeverTruncated) {
    testing::TempFolder folder;
    const std::string path = folder.File("Calls.ddb");
    ASSERT_EQ(AppendCall(path, {"eins", "1", 1.0, false}), AppendResult::Created);
    ASSERT_EQ(AppendCall(path, {"zwei", "2", 2.0, false}), AppendResult::Written);
    const auto before = ReadBytes(path);

    // Write-only for its owner: it can be neither read nor opened for update.
    const auto parent = std::filesystem::path(path).parent_path();
    ASSERT_EQ(::chmod(parent.c_str(), 0755), 0);
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(path.c_str(), 65534, 65534), 0);
    }
    ASSERT_EQ(::chmod(path.c_str(), 0200), 0);
    EXPECT_EQ(AppendWithoutPrivileges(path, {"drei", "3", 3.0, false}), AppendResult::Failed);
    ASSERT_EQ(::chmod(path.c_str(), 0600), 0);
    EXPECT_EQ(ReadBytes(path), before);

    // Something else under the file's name (a folder) is not replaced either.
    const std::string folderPath = folder.File("Other.ddb");
    std::filesystem::create_directory(folderPath);
    EXPECT_EQ(AppendCall(folderPath, {"a", "b", 1.0, false}), AppendResult::Failed);
    EXPECT_TRUE(std::filesystem::is_directory(folderPath));
}

}  // namespace
}  // namespace telvor
