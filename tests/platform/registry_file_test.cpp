#include "platform/atomic_file.h"
#include "platform/linux/registry_file.h"
#include "platform/paths.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using testsupport::TempDir;

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

TEST(RegistryFile, AValueSetToWhatItHoldsLeavesTheFileInPlaceAndAChangeReplacesIt)
{
    TempDir dir;
    const std::string path = dir.file("r.reg");
    FileRegistry reg(path);
    ASSERT_TRUE(reg.write("Control Panel\\Desktop", "WallpaperStyle", sz("2")));
    const auto inode = [&] {
        struct stat st
        {
        };
        return ::stat(path.c_str(), &st) == 0 ? st.st_ino : 0;
    };
    const auto first = inode();
    const std::string text = fileText(path);
    ASSERT_TRUE(reg.write("Control Panel\\Desktop", "wallpaperstyle", sz("2")));
    EXPECT_EQ(inode(), first); // not replaced
    EXPECT_EQ(fileText(path), text);
    ASSERT_TRUE(reg.write("Control Panel\\Desktop", "WallpaperStyle", sz("0")));
    EXPECT_NE(inode(), first);
    EXPECT_EQ(*reg.read("Control Panel\\Desktop", "WallpaperStyle").value, sz("0"));
}

TEST(RegistryFilePermission, AValueSetToWhatItHoldsInAWriteProtectedFileIsStillRefused)
{
    TempDir dir;
    const std::string path = dir.file("r.reg");
    FileRegistry reg(path);
    ASSERT_TRUE(reg.write(Key, "Timer", sz("60")));
    ASSERT_EQ(::chmod(path.c_str(), 0400), 0);
    EXPECT_FALSE(reg.write(Key, "Timer", sz("60")));
    ::chmod(path.c_str(), 0600);
}

TEST(RegistryFile, WritesStringsWithEscapesAndStoresTheTerminatingZero)
{
    TempDir dir;
    FileRegistry reg(dir.file("r.reg"));
    ASSERT_TRUE(reg.write(Key, "Index", RegValue {platform::RegDword, std::string(4, '\0')}));
    ASSERT_TRUE(reg.write(Key, "Index", sz("-1"))); // replaces the number in its place
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
    ASSERT_EQ(doc.keys[0].lines.size(), 2u); // the value and the blank line
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
        "\"Gone\"=-\n\n"
        "[HKEY_CURRENT_USER\\Other]\n\"Path\"=\"C:\\temp\\new\"\n");
    FileRegistry reg(path);
    // Only \\ and \" are escapes: any other backslash is kept.
    EXPECT_EQ(reg.read("Other", "Path").value, sz("C:\\temp\\new"));
    const auto blob = reg.read(Key, "Blob");
    ASSERT_TRUE(blob.value);
    EXPECT_EQ(blob.value->data, "\x01\x02\x03");
    ASSERT_TRUE(reg.write(Key, "Index", sz("2")));
    EXPECT_EQ(fileText(path),
        "REGEDIT4\n\n"
        "; a comment of someone's\n\n"
        "[HKEY_LOCAL_MACHINE\\Other]\n\"A\"=\"1\"\nthis is not a value\n\n"
        "[HKEY_CURRENT_USER\\Software\\Tovrane\\Murelin]\n"
        "\"Blob\"=hex:01,02,\\\n  03\n"
        "\"Index\"=\"2\"\n"
        "\"Gone\"=-\n\n"
        "[HKEY_CURRENT_USER\\Other]\n\"Path\"=\"C:\\temp\\new\"\n");
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

// Everything outside our own key, as the file holds it.
std::string othersOf(const RegDocument &doc)
{
    std::string out = doc.preamble;
    for (const RegDocument::Key &key : doc.keys) {
        if (key.path == "HKEY_CURRENT_USER\\Software\\Tovrane\\Murelin")
            continue;
        out += key.raw;
        for (const RegDocument::Line &line : key.lines)
            out += line.raw;
    }
    return out;
}

class ForeignContent : public ::testing::TestWithParam<const char *>
{
};

TEST_P(ForeignContent, IsWrittenBackByteForByteAndReadsTheSameAfterEverySave)
{
    TempDir dir;
    const std::string path = dir.file("r.reg");
    const std::string original = GetParam();
    EXPECT_EQ(RegDocument::parse(original).serialize(), original);
    putFile(path, original);
    FileRegistry reg(path);
    const std::string before = othersOf(RegDocument::parse(original));
    for (const char *index : {"1", "2"}) {
        ASSERT_TRUE(reg.write(Key, "Index", sz(index)));
        const std::string saved = fileText(path);
        EXPECT_EQ(othersOf(RegDocument::parse(saved)), before) << saved;
        EXPECT_EQ(reg.read(Key, "Index").value, sz(index)) << saved;
    }
}

INSTANTIATE_TEST_SUITE_P(RegistryFile, ForeignContent,
    ::testing::Values(
        // An escape the reader does not know, under another key.
        "REGEDIT4\n\n[HKEY_CURRENT_USER\\Other]\n\"Path\"=\"C:\\temp\\new\"\n\n",
        // Lines ending in CR CR LF: the key line is not read as a key, now or later.
        "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\A]\r\r\n\"x\"=\"1\"\r\r\n\r\n"
        "[HKEY_CURRENT_USER\\Software\\Tovrane\\Murelin]\r\n\"Timer\"=\"5\"\r\n\r\n"
        "[HKEY_CURRENT_USER\\B]\r\r\n\"y\"=\"2\"\r\n",
        // A blank line after a continued hex line, and a file without a last line end.
        "REGEDIT4\n\n[HKEY_CURRENT_USER\\A]\n\"x\"=hex:01,\\\n\n\"y\"=\"2\"\n"
        "[HKEY_CURRENT_USER\\Software\\Tovrane\\Murelin]\n\"Index\"=\"0\"",
        // No header, comments, a deleted key, a key with our name but another root.
        "; made by hand\n[-HKEY_CURRENT_USER\\Gone]\n[HKEY_LOCAL_MACHINE\\Software\\Tovrane\\"
        "Murelin]\n\"Index\"=\"9\"\n"));

TEST(RegistryFile, ContinuedHexLinesAreReadInOnePass)
{
    ::alarm(60); // read again for every line, 200,000 lines would take hours
    std::string text = "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Tovrane\\Murelin]\n";
    for (int i = 0; i < 200000; ++i)
        text += "\"x\"=hex:,\\\n";
    text += "\n\"Index\"=\"3\"\n";
    RegDocument doc = RegDocument::parse(text);
    EXPECT_EQ(doc.serialize(), text);
    ASSERT_EQ(doc.keys.size(), 1u);
    EXPECT_EQ(doc.keys[0].lines.size(), 3u); // one line not understood, a blank, "Index"
    EXPECT_TRUE(RegDocument::findValue(doc.keys[0], "Index"));
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

TEST(RegistryFile, AFileWhereItsFolderShouldBeFailsTheReadsKeyAndTheWrite)
{
    TempDir dir;
    putFile(dir.file("r.reg"), "REGEDIT4\n\n");
    FileRegistry reg(dir.file("r.reg/murelin/HKEY_CURRENT_USER.reg"));
    EXPECT_FALSE(reg.read(Key, "Timer").keyOpened);
    EXPECT_FALSE(reg.write(Key, "Timer", sz("5")));
}

TEST(RegistryFile, TheProgramsRegistryIsTheFileUnderXdgConfigHome)
{
    TempDir dir;
    ::setenv("XDG_CONFIG_HOME", dir.path().c_str(), 1);
    const std::string path = dir.file("murelin/HKEY_CURRENT_USER.reg");
    EXPECT_EQ(FileRegistry::defaultFilePath(), path);
    ASSERT_TRUE(platform::currentUserRegistry().write(Key, "Index", sz("3")));
    EXPECT_EQ(FileRegistry(path).read(Key, "Index").value, sz("3"));
    EXPECT_EQ(platform::currentUserRegistry().read(Key, "Index").value, sz("3"));
    ::unsetenv("XDG_CONFIG_HOME");
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

TEST(RegistryFile, AFailedReplaceLeavesTheOldFileWholeAndNoTemporaryFile)
{
    TempDir dir;
    const std::string path = dir.file("r.reg");
    FileRegistry reg(path);
    ASSERT_TRUE(reg.write(Key, "Index", sz("1")));
    const std::string before = fileText(path);
    // Files may not grow past what the registry file holds now: writing the temporary file
    // with a longer value fails half-way.
    ::signal(SIGXFSZ, SIG_IGN);
    rlimit saved {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = before.size();
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool written = reg.write(Key, "Index", sz(std::string(100, '2')));
    ::setrlimit(RLIMIT_FSIZE, &saved);
    EXPECT_FALSE(written);
    EXPECT_EQ(fileText(path), before);
    EXPECT_EQ(reg.read(Key, "Index").value, sz("1"));
    int entries = 0;
    for ([[maybe_unused]] const auto &e : std::filesystem::directory_iterator(dir.path()))
        ++entries;
    EXPECT_EQ(entries, 2); // r.reg and its lock file
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
