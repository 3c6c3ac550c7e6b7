#include "platform/atomic_file.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using platform::FileRead;

namespace {

// Anything that would wait on a FIFO or read a device without end fails the run instead.
struct NoWaiting : ::testing::Test
{
    void SetUp() override { ::alarm(20); }
    void TearDown() override { ::alarm(0); }
};

void putBytes(const std::string &path, const std::string &bytes)
{
    ASSERT_TRUE(platform::writeFileAtomically(path, bytes));
}

} // namespace

using ReadingFiles = NoWaiting;

TEST_F(ReadingFiles, OnlyRegularFilesAreReadAndNothingWaits)
{
    TempDir dir;
    putBytes(dir.file("list"), "A\r\n00|0\r\n");
    ASSERT_EQ(::symlink(dir.file("list").c_str(), dir.file("link").c_str()), 0);
    ASSERT_EQ(::mkfifo(dir.file("fifo").c_str(), 0600), 0);
    ASSERT_EQ(::mkdir(dir.file("folder").c_str(), 0700), 0);
    ASSERT_EQ(::symlink("/dev/zero", dir.file("zero").c_str()), 0);
    ASSERT_EQ(::symlink(dir.file("nowhere").c_str(), dir.file("dangling").c_str()), 0);
    struct Case
    {
        const char *name;
        FileRead read;
    } const cases[] = {{"list", FileRead::Read}, {"link", FileRead::Read},
        {"missing", FileRead::Missing}, {"dangling", FileRead::Missing},
        {"fifo", FileRead::Unreadable}, {"folder", FileRead::Unreadable},
        {"zero", FileRead::Unreadable}, {"missing/below", FileRead::Missing}};
    for (const Case &c : cases) {
        std::string bytes = "stale";
        EXPECT_EQ(platform::readRegularFile(dir.file(c.name), bytes), c.read) << c.name;
        EXPECT_EQ(bytes, c.read == FileRead::Read ? "A\r\n00|0\r\n" : "") << c.name;
        EXPECT_EQ(platform::regularFileOpens(dir.file(c.name)), c.read == FileRead::Read) << c.name;
    }
    std::string bytes;
    EXPECT_EQ(platform::readRegularFile("/dev/null", bytes), FileRead::Unreadable);
}

TEST(ReadingFilesLimit, AFileLargerThanTheLimitIsNotRead)
{
    TempDir dir;
    const std::string path = dir.file("list");
    putBytes(path, std::string(10, 'x'));
    std::string bytes;
    EXPECT_EQ(platform::readRegularFile(path, bytes, 9), FileRead::Unreadable);
    EXPECT_EQ(platform::readRegularFile(path, bytes, 10), FileRead::Read);
    EXPECT_EQ(platform::readRegularFile(path, bytes, 11), FileRead::Read);
    // The default limit, on a sparse file one byte past it: refused before any reading.
    ASSERT_EQ(::truncate(path.c_str(), static_cast<off_t>(platform::MaxReadBytes + 1)), 0);
    EXPECT_EQ(platform::readRegularFile(path, bytes), FileRead::Unreadable);
}

TEST(ReadingFilesPermission, AFileThatMayNotBeReadIsUnreadableNotMissing)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "run again as an ordinary user, where permissions bind";
    TempDir dir;
    const std::string path = dir.file("list");
    putBytes(path, "A\r\n");
    ASSERT_EQ(::chmod(path.c_str(), 0200), 0);
    std::string bytes;
    EXPECT_EQ(platform::readRegularFile(path, bytes), FileRead::Unreadable);
}
