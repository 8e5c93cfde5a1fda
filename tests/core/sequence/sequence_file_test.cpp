#include "core/sequence/sequence_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <future>
#include <string>
#include <vector>

#include "support/recorded_messages.h"
#include "support/temp_folder.h"

namespace tavrola {
namespace {

using Messages = std::vector<std::string>;

constexpr std::int64_t kTwoGiB = std::int64_t{1} << 31;

// A file of `size` bytes that takes no room on disk; `tail` is written at its very end.
std::filesystem::path MakeSparseFile(const std::filesystem::path& file, std::int64_t size,
                                     const std::string& tail = {}) {
    const int descriptor = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    EXPECT_GE(descriptor, 0);
    EXPECT_EQ(::ftruncate(descriptor, size), 0);
    if (!tail.empty()) {
        EXPECT_EQ(::pwrite(descriptor, tail.data(), tail.size(),
                           static_cast<off_t>(size - static_cast<std::int64_t>(tail.size()))),
                  static_cast<ssize_t>(tail.size()));
    }
    ::close(descriptor);
    return file;
}

TEST(QueryFileSize, GivesTheSizeOfARegularFile) {
    testing::TempFolder folder;
    testing::RecordedMessages messages;
    EXPECT_EQ(QueryFileSize(folder.Write("empty", "")), 0);
    EXPECT_EQ(QueryFileSize(folder.Write("four", "ACGT")), 4);
    EXPECT_EQ(QueryFileSize(folder.Write("名前 with spaces.txt", "ACGTA")), 5);
    EXPECT_TRUE(messages.texts().empty());
}

TEST(QueryFileSize, AMissingNameGivesTheSizeMessageAndZero) {
    testing::TempFolder folder;
    testing::RecordedMessages messages;
    EXPECT_EQ(QueryFileSize(folder.path() / "missing"), 0);
    EXPECT_EQ(messages.texts(), Messages{kFileSizeMessage});
}

TEST(QueryFileSize, FoldersFifosAndDevicesAreSizeZeroWithoutAMessage) {
    testing::TempFolder folder;
    const std::filesystem::path fifo = folder.path() / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    testing::RecordedMessages messages;
    EXPECT_EQ(QueryFileSize(folder.path()), 0);
    EXPECT_EQ(QueryFileSize(fifo), 0);
    EXPECT_EQ(QueryFileSize("/dev/zero"), 0);
    EXPECT_TRUE(messages.texts().empty());
}

TEST(QueryFileSize, TwoGiBOrMoreGivesTheSizeMessageThenZero) {
    testing::TempFolder folder;
    testing::RecordedMessages messages;
    EXPECT_EQ(QueryFileSize(MakeSparseFile(folder.path() / "largest", kTwoGiB - 1)), kTwoGiB - 1);
    EXPECT_TRUE(messages.texts().empty());
    EXPECT_EQ(QueryFileSize(MakeSparseFile(folder.path() / "two", kTwoGiB)), 0);
    EXPECT_EQ(QueryFileSize(MakeSparseFile(folder.path() / "three", 3 * (kTwoGiB / 2))), 0);
    EXPECT_EQ(messages.texts(), (Messages{kFileSizeMessage, kFileSizeMessage}));
}

TEST(ReadFileBytes, ReadsOnlyTheAskedStretch) {
    testing::TempFolder folder;
    const auto file = folder.Write("bases", "0123456789");
    testing::RecordedMessages messages;
    std::string bytes = "left over";
    EXPECT_TRUE(ReadFileBytes(file, 3, 4, bytes));
    EXPECT_EQ(bytes, "3456");
    EXPECT_TRUE(ReadFileBytes(file, 0, 0, bytes));
    EXPECT_EQ(bytes, "") << "nothing asked, nothing given";
    EXPECT_TRUE(messages.texts().empty());
}

TEST(ReadFileBytes, AShorterFileGivesOnlyTheBytesReallyRead) {
    testing::TempFolder folder;
    const auto file = folder.Write("short", "ACGT");
    std::string bytes;
    EXPECT_TRUE(ReadFileBytes(file, 2, 100, bytes));
    EXPECT_EQ(bytes, "GT");
    EXPECT_TRUE(ReadFileBytes(file, 50, 100, bytes));
    EXPECT_EQ(bytes, "");
}

TEST(ReadFileBytes, ReadsFarIntoAFileJustUnderTwoGiB) {
    testing::TempFolder folder;
    const auto file = MakeSparseFile(folder.path() / "large", kTwoGiB - 1, "GATTACA");
    std::string bytes;
    EXPECT_TRUE(ReadFileBytes(file, kTwoGiB - 8, 7, bytes));
    EXPECT_EQ(bytes, "GATTACA");
}

TEST(ReadFileBytes, WhatCannotBeOpenedGivesTheOpenMessageAndNoBytes) {
    testing::TempFolder folder;
    const std::filesystem::path fifo = folder.path() / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    const std::filesystem::path names[] = {folder.path() / "missing", folder.path(), fifo,
                                           "/dev/zero", "/dev/null"};
    for (const auto& name : names) {
        testing::RecordedMessages messages;
        std::string bytes = "left over";
        EXPECT_FALSE(ReadFileBytes(name, 0, 16, bytes)) << name;
        EXPECT_EQ(bytes, "") << name;
        EXPECT_EQ(messages.texts(), Messages{kFileOpenMessage}) << name;
    }
}

TEST(ReadFileBytes, AFifoWithoutAWriterNeverBlocks) {
    testing::TempFolder folder;
    const std::filesystem::path fifo = folder.path() / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    testing::RecordedMessages messages;
    auto read = std::async(std::launch::async, [&] {
        std::string bytes;
        return ReadFileBytes(fifo, 0, 8192, bytes);
    });
    if (read.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
        // Frees the blocked reader, so the failure is reported instead of hanging the run.
        const int writer = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
        if (writer >= 0) {
            ::close(writer);
        }
        ADD_FAILURE() << "reading a FIFO blocked";
    }
    EXPECT_FALSE(read.get());
}

// The open must really fail, also when the tests run as root: then the read runs in a child
// that has given up root for the "nobody" account.
TEST(ReadFileBytes, AFileWithoutReadPermissionGivesTheOpenMessage) {
    testing::TempFolder folder;
    const auto file = folder.Write("locked", "ACGT");
    ASSERT_EQ(::chmod(file.c_str(), 0), 0);
    ASSERT_EQ(::chmod(folder.path().c_str(), 0755), 0);

    int pipe_ends[2];
    ASSERT_EQ(::pipe(pipe_ends), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::close(pipe_ends[0]);
        char verdict = 'P';  // privileges could not be dropped
        if (::geteuid() != 0 || (::setgid(65534) == 0 && ::setuid(65534) == 0)) {
            testing::RecordedMessages messages;
            std::string bytes;
            const bool read = ReadFileBytes(file, 0, 4, bytes);
            const bool as_designed = !read && bytes.empty() &&
                                     messages.texts() == Messages{kFileOpenMessage} &&
                                     QueryFileSize(file) == 4;
            verdict = as_designed ? 'Y' : 'N';
        }
        [[maybe_unused]] const ssize_t written = ::write(pipe_ends[1], &verdict, 1);
        ::_exit(0);
    }
    ::close(pipe_ends[1]);
    char verdict = '?';
    EXPECT_EQ(::read(pipe_ends[0], &verdict, 1), 1);
    ::close(pipe_ends[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_NE(verdict, 'P') << "could not give up root to make the open fail";
    EXPECT_EQ(verdict, 'Y') << "the unreadable file was read, or the wrong message came";
}

TEST(ReadFileBytes, AReadErrorAfterTheOpenGivesTheReadMessage) {
    // A regular file of the process's memory: reading its first page fails.
    testing::RecordedMessages messages;
    std::string bytes;
    EXPECT_FALSE(ReadFileBytes("/proc/self/mem", 0, 16, bytes));
    EXPECT_EQ(bytes, "");
    EXPECT_EQ(messages.texts(), Messages{kFileReadMessage});
}

}  // namespace
}  // namespace tavrola
