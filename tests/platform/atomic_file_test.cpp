#include "platform/atomic_file.h"
#include "platform/large_block.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <vector>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

using testsupport::TempDir;

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

namespace {

mode_t modeOf(const std::string &path)
{
    struct stat st
    {
    };
    return ::stat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
}

std::vector<std::string> namesIn(const std::string &folder)
{
    std::vector<std::string> names;
    for (const auto &entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::string bytesOf(const std::string &path)
{
    std::string bytes;
    platform::readWholeFile(path, bytes);
    return bytes;
}

} // namespace

TEST(AtomicFile, ALinkStaysALinkAndItsTargetIsReplacedInItsOwnFolder)
{
    TempDir dir;
    ASSERT_EQ(::mkdir(dir.file("dotfiles").c_str(), 0700), 0);
    ASSERT_EQ(::mkdir(dir.file("home").c_str(), 0700), 0);
    putBytes(dir.file("dotfiles/list"), "old");
    // A relative link, as a dotfiles manager makes them, through a second link.
    ASSERT_EQ(::symlink("../dotfiles/list", dir.file("home/hop").c_str()), 0);
    ASSERT_EQ(::symlink("hop", dir.file("home/list").c_str()), 0);
    ASSERT_TRUE(platform::writeFileAtomically(dir.file("home/list"), "new"));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("home/list")));
    EXPECT_EQ(bytesOf(dir.file("dotfiles/list")), "new");
    EXPECT_EQ(namesIn(dir.file("dotfiles")), std::vector<std::string> {"list"});
    EXPECT_EQ(namesIn(dir.file("home")), (std::vector<std::string> {"hop", "list"}));
    // A link to nothing yet: the file is made where it leads.
    ASSERT_EQ(::symlink("../dotfiles/made", dir.file("home/made").c_str()), 0);
    ASSERT_TRUE(platform::writeFileAtomically(dir.file("home/made"), "made"));
    EXPECT_EQ(bytesOf(dir.file("dotfiles/made")), "made");
}

TEST(AtomicFile, AReplacedFileKeepsItsModeAndANewOneTakesTheUmasks)
{
    TempDir dir;
    const mode_t saved = ::umask(027);
    ASSERT_TRUE(platform::writeFileAtomically(dir.file("new"), "x"));
    EXPECT_EQ(modeOf(dir.file("new")), 0640u);
    ::umask(022);
    ASSERT_TRUE(platform::writeFileAtomically(dir.file("other"), "x"));
    EXPECT_EQ(modeOf(dir.file("other")), 0644u);
    ASSERT_EQ(::chmod(dir.file("new").c_str(), 0604), 0);
    ASSERT_TRUE(platform::writeFileAtomically(dir.file("new"), "y"));
    EXPECT_EQ(modeOf(dir.file("new")), 0604u);
    ::umask(saved);
}

TEST(AtomicFile, AWriteProtectedFileIsRefusedAndKeptEvenForRoot)
{
    TempDir dir;
    const std::string path = dir.file("MurelinAll.txt");
    putBytes(path, "old\r\n");
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    std::string error;
    EXPECT_FALSE(platform::writeFileAtomically(path, "new", &error));
    EXPECT_NE(error.find("write-protected"), std::string::npos);
    EXPECT_EQ(bytesOf(path), "old\r\n");
}

TEST(AtomicFile, LeftoverTemporaryFilesGoAtTheNextSaveAndNothingElseDoes)
{
    TempDir dir;
    const std::string path = dir.file("list");
    const std::vector<std::string> kept
        = {"list", "list.bak", "list.murelin-", "list.murelin-abc12", "list.murelin-abc1234",
            "list.murelin-ab_123", "other.murelin-abc123", "xlist.murelin-abc123"};
    for (const std::string &name : kept)
        putBytes(dir.file(name), "keep");
    for (const char *name : {"list.murelin-abc123", "list.murelin-ZZ9zz9"})
        putBytes(dir.file(name), "leftover");
    ASSERT_TRUE(platform::writeFileAtomically(path, "new"));
    std::vector<std::string> expected = kept;
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(namesIn(dir.path()), expected);
}

TEST(AtomicFile, ADerivedFileIsReplacedWholeLikeAnyOtherWithoutWaitingForTheDisk)
{
    TempDir dir;
    const auto derived = [](const std::string &path, std::string_view bytes) {
        std::string error;
        return platform::writeFileAtomically(path, bytes, &error, platform::Durability::Derived);
    };
    ASSERT_EQ(::mkdir(dir.file("cache").c_str(), 0700), 0);
    ASSERT_EQ(::symlink("cache/out.bmp", dir.file("out.bmp").c_str()), 0);
    ASSERT_TRUE(derived(dir.file("out.bmp"), "first"));
    ASSERT_EQ(::chmod(dir.file("cache/out.bmp").c_str(), 0640), 0);
    ASSERT_TRUE(derived(dir.file("out.bmp"), "second"));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("out.bmp")));
    EXPECT_EQ(bytesOf(dir.file("cache/out.bmp")), "second");
    EXPECT_EQ(modeOf(dir.file("cache/out.bmp")), 0640u);
    EXPECT_EQ(namesIn(dir.file("cache")), std::vector<std::string> {"out.bmp"});
    ASSERT_EQ(::chmod(dir.file("cache/out.bmp").c_str(), 0444), 0);
    EXPECT_FALSE(derived(dir.file("out.bmp"), "third"));
    EXPECT_EQ(bytesOf(dir.file("cache/out.bmp")), "second");
}

TEST(LargeBlock, ItsStartGoesBackToTheSystemAndTheRestStays)
{
    const std::size_t size = std::size_t {9} << 20;
    std::uint8_t *block = platform::allocateLargeBlock(size);
    ASSERT_NE(block, nullptr);
    std::memset(block, 0x5A, size);
    const std::size_t given = size / 2 + 100;
    platform::releaseLargeBlockStart(block, size, given);
    const auto page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
    std::vector<unsigned char> resident(size / page);
    ASSERT_EQ(::mincore(block, size / page * page, resident.data()), 0);
    const auto kept
        = std::count_if(resident.begin(), resident.end(), [](unsigned char r) { return r & 1; });
    EXPECT_EQ(std::size_t(kept), size / page - given / page);
    EXPECT_EQ(std::count(block + given, block + size, 0x5A), std::ptrdiff_t(size - given));
    platform::freeLargeBlock(block, size);
}
