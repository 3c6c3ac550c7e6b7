#include "platform/win32/tray_record.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

using platform::win32::TrayButton;
using platform::win32::trayButtonFor;

namespace {

const char programTip[] = "Right button for menu, left button to load next picture";

std::uint32_t le32(const unsigned char *bytes, std::size_t at)
{
    return static_cast<std::uint32_t>(bytes[at]) | static_cast<std::uint32_t>(bytes[at + 1]) << 8
        | static_cast<std::uint32_t>(bytes[at + 2]) << 16
        | static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

} // namespace

TEST(TrayIconRecord, IsTheFirst88ByteFormOfTheShellsRecord)
{
    if (sizeof(void *) != 4)
        GTEST_SKIP() << "88 bytes is the record of 32-bit Windows; this is a 64-bit build";
    EXPECT_EQ(sizeof(platform::win32::TrayIconRecord), 88u);
    EXPECT_EQ(NOTIFYICONDATAA_V1_SIZE, 88u);
    EXPECT_EQ(platform::win32::TrayCallbackMessage, 1124u);
}

TEST(TrayIconRecord, IsFilledByteForByteAsTheShellReadsIt)
{
    if (sizeof(void *) != 4)
        GTEST_SKIP() << "the byte layout of 32-bit Windows; this is a 64-bit build";
    const HWND window = reinterpret_cast<HWND>(std::uintptr_t {0x00010abc});
    const HICON icon = reinterpret_cast<HICON>(std::uintptr_t {0x12345678});
    ASSERT_EQ(std::strlen(programTip), 55u);
    const auto record = platform::win32::makeTrayIconRecord(window, icon, programTip);

    unsigned char bytes[88];
    std::memcpy(bytes, &record, sizeof bytes);
    EXPECT_EQ(le32(bytes, 0), 88u); // cbSize
    EXPECT_EQ(le32(bytes, 4), 0x00010abcu); // hWnd
    EXPECT_EQ(le32(bytes, 8), 1u); // uID
    EXPECT_EQ(le32(bytes, 12), 7u); // uFlags: NIF_MESSAGE | NIF_ICON | NIF_TIP
    EXPECT_EQ(le32(bytes, 16), 1124u); // uCallbackMessage
    EXPECT_EQ(le32(bytes, 20), 0x12345678u); // hIcon
    EXPECT_EQ(std::string(reinterpret_cast<const char *>(bytes + 24), 55), programTip);
    for (std::size_t i = 24 + 55; i < 88; ++i)
        EXPECT_EQ(bytes[i], 0) << "tip byte " << i - 24;
}

TEST(TrayIconRecord, ATipLongerThanTheFieldIsCutTo63BytesAndAZero)
{
    const std::string longTip(70, 'x');
    const auto record = platform::win32::makeTrayIconRecord(nullptr, nullptr, longTip);
    EXPECT_EQ(std::string(record.szTip, 63), std::string(63, 'x'));
    EXPECT_EQ(record.szTip[63], '\0');

    const std::string fits(63, 'y');
    const auto exact = platform::win32::makeTrayIconRecord(nullptr, nullptr, fits);
    EXPECT_EQ(std::string(exact.szTip), fits);
}

struct ButtonCase
{
    const char *name;
    LPARAM lParam;
    TrayButton expected;
};

class TrayCallback : public testing::TestWithParam<ButtonCase>
{
};

TEST_P(TrayCallback, MapsTheMouseMessageInLParam)
{
    EXPECT_EQ(trayButtonFor(GetParam().lParam), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(MouseMessages, TrayCallback,
    testing::Values(ButtonCase {"RightDown", WM_RBUTTONDOWN, TrayButton::Right},
        ButtonCase {"LeftDown", WM_LBUTTONDOWN, TrayButton::Left},
        ButtonCase {"RightUp", WM_RBUTTONUP, TrayButton::None},
        ButtonCase {"LeftUp", WM_LBUTTONUP, TrayButton::None},
        ButtonCase {"LeftDoubleClick", WM_LBUTTONDBLCLK, TrayButton::None},
        ButtonCase {"RightDoubleClick", WM_RBUTTONDBLCLK, TrayButton::None},
        ButtonCase {"MiddleDown", WM_MBUTTONDOWN, TrayButton::None},
        ButtonCase {"Move", WM_MOUSEMOVE, TrayButton::None},
        ButtonCase {"Zero", 0, TrayButton::None},
        ButtonCase {"RightDownWithHighBits", 0x00010000 | WM_RBUTTONDOWN, TrayButton::None}),
    [](const testing::TestParamInfo<ButtonCase> &c) { return std::string(c.param.name); });

// The callback arrives through the window's message queue like any other message.
TEST(TrayCallbackMessage, IsRecognisedOnlyForItsWindowAndNumber)
{
    const HWND window = CreateWindowExA(
        0, "STATIC", "tray test", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    const HWND other = CreateWindowExA(
        0, "STATIC", "other", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    ASSERT_NE(other, nullptr);

    struct Posted
    {
        HWND to;
        UINT message;
        LPARAM lParam;
        TrayButton expected;
    };
    const Posted posted[] = {
        {window, 1124, WM_RBUTTONDOWN, TrayButton::Right},
        {window, 1124, WM_LBUTTONDOWN, TrayButton::Left},
        {window, 1124, WM_LBUTTONDBLCLK, TrayButton::None},
        {window, 1125, WM_LBUTTONDOWN, TrayButton::None},
        {window, WM_USER, WM_RBUTTONDOWN, TrayButton::None},
        {other, 1124, WM_RBUTTONDOWN, TrayButton::None},
    };
    for (const Posted &p : posted)
        ASSERT_TRUE(PostMessageA(p.to, p.message, 1, p.lParam));
    for (const Posted &p : posted) {
        MSG message {};
        ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
        ASSERT_EQ(message.message, p.message);
        EXPECT_EQ(trayButtonFor(message, window), p.expected)
            << "message " << p.message << " lParam " << p.lParam;
    }
    DestroyWindow(other);
    DestroyWindow(window);
}
