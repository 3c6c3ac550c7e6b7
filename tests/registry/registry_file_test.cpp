#include "linux/registry_file.h"
#include "platform/atomic_file.h"
#include "platform/paths.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

using platform::FileRegistry;
using platform::RegDocument;
using platform::RegValue;

namespace {

constexpr const char *Key = "Software\\Tovrane\\Murelin";

std::string fileText(const std::string &path)
{
    std::string bytes;
    platform::readWholeFile(path, bytes);
    return bytes;
}

void putFile(const std::string &path, const std::string &bytes)
{
    ASSERT_TRUE(platform::writeFileAtomically(path, bytes));
}

RegValue sz(const std::string &text)
{
    return RegValue {platform::RegSz, text + std::string(1, '\0')};
}

} // namespace

TEST(RegistryFile, ReadOfAMissingKeyCreatesItWithNoValues)
{
    TempDir dir;
    FileRegistry reg(dir.file("cfg/murelin/HKEY_CURRENT_USER.reg"));
    const auto read = reg.read(Key, "Timer");
    EXPECT_TRUE(read.keyOpened);
    EXPECT_FALSE(read.value.has_value());
    EXPECT_EQ(fileText(reg.filePath()),
        "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Tovrane\\Murelin]\n\n");
}

TEST(RegistryFile, ReadOfAnExistingKeyLeavesTheFileAlone)
{
    TempDir dir;
    const std::string path = dir.file("r.reg");
    const std::string original
        = "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Tovrane\\Murelin]\r\n"
          "\"Timer\"=\"60\"\r\n\r\n";
    putFile(path, original);
    FileRegistry reg(path);
    const auto read = reg.read(Key, "timer");
    ASSERT_TRUE(read.value.has_value());
    EXPECT_EQ(*read.value, sz("60"));
    EXPECT_EQ(fileText(path), original);
}

TEST(RegistryFile, WritesStringsWithEscapesAndStoresTheTerminatingZero)
{
    TempDir dir;
    FileRegistry reg(dir.file("r.reg"));
    ASSERT_TRUE(reg.write(Key, "Index", sz("-1")));
    ASSERT_TRUE(reg.write(Key, "Path", sz("C:\\a \"b\"")));
    EXPECT_EQ(fileText(reg.filePath()),
        "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Tovrane\\Murelin]\n"
        "\"Index\"=\"-1\"\n"
        "\"Path\"=\"C:\\\\a \\\"b\\\"\"\n\n");
    const auto index = reg.read(Key, "Index");
    ASSERT_TRUE(index.value);
    EXPECT_EQ(index.value->data.size(), 3u); // "-1" and its zero byte
    EXPECT_EQ(reg.read(Key, "PATH").value->data, std::string("C:\\a \"b\"") + '\0');
}

TEST(RegistryFile, NamesAndKeysMatchWithoutRegardToCaseAndKeepTheirFirstSpelling)
{
    TempDir dir;
    FileRegistry reg(dir.file("r.reg"));
    ASSERT_TRUE(reg.write(Key, "PreviewOn", sz("true")));
    ASSERT_TRUE(reg.write("SOFTWARE\\tovrane\\MURELIN", "previewon", sz("false")));
    const std::string text = fileText(reg.filePath());
    EXPECT_NE(text.find("[HKEY_CURRENT_USER\\Software\\Tovrane\\Murelin]\n\"PreviewOn\"=\"false\""),
        std::string::npos)
        << text;
    EXPECT_EQ(text.find("MURELIN"), std::string::npos);
}

struct ValueCase
{
    const char *line;
    RegValue value;
};

class ValueForms : public ::testing::TestWithParam<ValueCase>
{
};

TEST_P(ValueForms, ParseAndFormatAgree)
{
    const ValueCase &c = GetParam();
    const std::string text = std::string("REGEDIT4\n\n[HKEY_CURRENT_USER\\K]\n") + c.line + "\n\n";
    RegDocument doc = RegDocument::parse(text);
    ASSERT_EQ(doc.keys.size(), 1u);
    ASSERT_EQ(doc.keys[0].lines.size(), 1u);
    ASSERT_TRUE(doc.keys[0].lines[0].isValue) << c.line;
    EXPECT_EQ(doc.keys[0].lines[0].value, c.value);
    EXPECT_EQ(RegDocument::formatValue(doc.keys[0].lines[0].name, c.value), c.line);
}

INSTANTIATE_TEST_SUITE_P(RegistryFile, ValueForms,
    ::testing::Values(ValueCase {"\"X1\"=\"\"", RegValue {platform::RegSz, std::string(1, '\0')}},
        ValueCase {
            "\"X1\"=dword:0000002a", RegValue {platform::RegDword, std::string("\x2a\0\0\0", 4)}},
        ValueCase {"\"X1\"=hex(2):41,00", RegValue {platform::RegExpandSz, std::string("A\0", 2)}},
        ValueCase {"\"X1\"=hex:01,ff", RegValue {platform::RegBinary, "\x01\xff"}},
        ValueCase {
            "\"X1\"=hex(7):61,00,00", RegValue {platform::RegMultiSz, std::string("a\0\0", 3)}},
        // Strings the quoted form cannot carry: no zero at the end, a CR or LF, an inner zero.
        ValueCase {"\"X1\"=hex(1):31,32", RegValue {platform::RegSz, "12"}},
        ValueCase {
            "\"X1\"=hex(1):61,0a,62,00", RegValue {platform::RegSz, std::string("a\nb\0", 4)}},
        ValueCase {
            "\"X1\"=hex(1):61,00,62,00", RegValue {platform::RegSz, std::string("a\0b\0", 4)}},
        ValueCase {"\"X1\"=hex(1):", RegValue {platform::RegSz, ""}}));

TEST(RegistryFile, ContinuedHexLinesAndUnreadableLinesAndForeignKeysSurviveARewrite)
{
    TempDir dir;
    const std::string path = dir.file("r.reg");
    putFile(path,
        "REGEDIT4\n\n"
        "; a comment of someone's\n\n"
        "[HKEY_LOCAL_MACHINE\\Other]\n\"A\"=\"1\"\nthis is not a value\n\n"
        "[HKEY_CURRENT_USER\\Software\\Tovrane\\Murelin]\n"
        "\"Blob\"=hex:01,02,\\\n  03\n"
        "\"Gone\"=-\n\n");
    FileRegistry reg(path);
    const auto blob = reg.read(Key, "Blob");
    ASSERT_TRUE(blob.value);
    EXPECT_EQ(blob.value->data, "\x01\x02\x03");
    ASSERT_TRUE(reg.write(Key, "Index", sz("2")));
    EXPECT_EQ(fileText(path),
        "REGEDIT4\n\n"
        "; a comment of someone's\n\n"
        "[HKEY_LOCAL_MACHINE\\Other]\n\"A\"=\"1\"\nthis is not a value\n\n"
        "[HKEY_CURRENT_USER\\Software\\Tovrane\\Murelin]\n"
        "\"Blob\"=hex:01,02,03\n"
        "\"Gone\"=-\n"
        "\"Index\"=\"2\"\n\n");
}

TEST(RegistryFile, AFifoOrADeviceInPlaceOfTheFileIsNeitherWaitedOnNorReplaced)
{
    ::alarm(20); // a read that waits for a writer fails the run
    TempDir dir;
    const std::string fifo = dir.file("fifo.reg");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string zero = dir.file("zero.reg");
    ASSERT_EQ(::symlink("/dev/zero", zero.c_str()), 0);
    for (const std::string &path : {fifo, zero}) {
        FileRegistry reg(path);
        EXPECT_FALSE(reg.read(Key, "Timer").keyOpened) << path;
        EXPECT_FALSE(reg.write(Key, "Timer", sz("60"))) << path;
    }
    struct stat st
    {
    };
    EXPECT_EQ(::stat(fifo.c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
    EXPECT_TRUE(std::filesystem::is_symlink(zero));
    ::alarm(0);
}

TEST(RegistryFile, BytesThatAreNotUtf8RoundTrip)
{
    TempDir dir;
    FileRegistry reg(dir.file("r.reg"));
    const std::string latin1 = "caf\xe9 \xff\x80";
    ASSERT_TRUE(reg.write(Key, "Name", sz(latin1)));
    EXPECT_EQ(reg.read(Key, "Name").value->data, latin1 + '\0');
}

TEST(RegistryFilePermission, AFolderThatCannotBeWrittenFailsTheWriteAndLeavesTheFileWhole)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "run again as an ordinary user, where permissions bind";
    TempDir dir;
    const std::string path = dir.file("r.reg");
    FileRegistry reg(path);
    ASSERT_TRUE(reg.write(Key, "Index", sz("1")));
    const std::string before = fileText(path);
    ASSERT_EQ(::chmod(dir.path().c_str(), 0500), 0);
    EXPECT_FALSE(reg.write(Key, "Index", sz("2")));
    EXPECT_EQ(fileText(path), before);
    FileRegistry elsewhere(dir.file("sub/r.reg"));
    EXPECT_FALSE(elsewhere.read(Key, "Index").keyOpened);
    ::chmod(dir.path().c_str(), 0700);
}

TEST(RegistryFile, AFailedReplaceLeavesTheOldFileWhole)
{
    TempDir dir;
    const std::string path = dir.file("r.reg");
    FileRegistry reg(path);
    ASSERT_TRUE(reg.write(Key, "Index", sz("1")));
    const std::string before = fileText(path);
    // A folder standing where the temporary file's rename must land makes the replace fail.
    const std::string blocked = dir.file("blocked");
    ASSERT_EQ(::mkdir(blocked.c_str(), 0700), 0);
    ASSERT_EQ(::mkdir((blocked + "/inside").c_str(), 0700), 0);
    std::string error;
    EXPECT_FALSE(platform::writeFileAtomically(blocked, "new", &error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(fileText(path), before);
    // No temporary file is left behind.
    int entries = 0;
    for ([[maybe_unused]] const auto &e : std::filesystem::directory_iterator(dir.path()))
        ++entries;
    EXPECT_EQ(entries, 3); // r.reg, its lock file, the folder
}

TEST(AtomicFile, AReadOnlyFileIsRefusedAndKept)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not bind root";
    TempDir dir;
    const std::string path = dir.file("MurelinAll.txt");
    putFile(path, "old\r\n");
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    std::string error;
    EXPECT_FALSE(platform::writeFileAtomically(path, "new", &error));
    EXPECT_NE(error.find("write-protected"), std::string::npos);
    EXPECT_EQ(fileText(path), "old\r\n");
}

TEST(Paths, UserDataDirectoryFollowsXdgDataHomeAndIsCreated)
{
    TempDir dir;
    ::setenv("XDG_DATA_HOME", dir.file("data").c_str(), 1);
    EXPECT_EQ(platform::userDataDirectory(), dir.file("data/murelin/"));
    struct stat st
    {
    };
    EXPECT_EQ(::stat(dir.file("data/murelin").c_str(), &st), 0);
    ::setenv("XDG_DATA_HOME", "relative", 1);
    ::setenv("HOME", dir.path().c_str(), 1);
    EXPECT_EQ(platform::userDataDirectory(), dir.file(".local/share/murelin/"));
    ::unsetenv("XDG_DATA_HOME");
}

TEST(Paths, ExecutableDirectoryEndsWithTheSeparator)
{
    const std::string folder = platform::executableDirectory();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '/');
    EXPECT_EQ(platform::executablePath().rfind(folder, 0), 0u);
    EXPECT_TRUE(platform::isDirectoryWritable(folder));
}
