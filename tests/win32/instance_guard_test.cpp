#include "tests/win32/child_modes.h"
#include "tests/win32/support.h"

#include "platform/instance_guard.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

using namespace win32test;

namespace {

// The program's guard name with a suffix, so that the tests never meet a running copy.
std::string guardName(const char *suffix)
{
    return std::string("one_inst_runall_going_test_") + suffix + "_"
        + std::to_string(GetCurrentProcessId());
}

HANDLE openEvent(const std::string &name)
{
    return OpenEventA(EVENT_MODIFY_STATE | SYNCHRONIZE, FALSE, name.c_str());
}

// Holds the guard until killed: creates it, tells the parent through the event, waits.
const ChildMode holdMode("hold-guard", [](const std::vector<std::string> &arguments) {
    if (arguments.size() != 2)
        return 2;
    platform::InstanceGuard guard(arguments[0].c_str());
    HANDLE ready = openEvent(arguments[1]);
    SetEvent(ready);
    Sleep(INFINITE);
    return guard.alreadyExists() ? 1 : 0;
});

// Waits for the start signal, creates the guard, counts itself in on the semaphore, keeps the
// guard until the release signal; exit code 1 when it saw the guard already there.
const ChildMode raceMode("race-guard", [](const std::vector<std::string> &arguments) {
    if (arguments.size() != 4)
        return 2;
    HANDLE start = openEvent(arguments[1]);
    HANDLE created = OpenSemaphoreA(SEMAPHORE_MODIFY_STATE, FALSE, arguments[2].c_str());
    HANDLE release = openEvent(arguments[3]);
    if (!start || !created || !release)
        return 3;
    WaitForSingleObject(start, 60000);
    platform::InstanceGuard guard(arguments[0].c_str());
    const bool already = guard.alreadyExists();
    ReleaseSemaphore(created, 1, nullptr);
    WaitForSingleObject(release, 60000);
    return already ? 1 : 0;
});

} // namespace

TEST(InstanceGuard, FirstCreatorDoesNotSeeItAndASecondInTheSameProcessDoes)
{
    const std::string name = guardName("same");
    platform::InstanceGuard first(name.c_str());
    EXPECT_FALSE(first.alreadyExists());
    {
        platform::InstanceGuard second(name.c_str());
        EXPECT_TRUE(second.alreadyExists());
    }
    // The second handle is closed, the first still holds the name.
    platform::InstanceGuard third(name.c_str());
    EXPECT_TRUE(third.alreadyExists());
}

TEST(InstanceGuard, TheNameIsFreeAgainOnceTheHolderIsDestroyed)
{
    const std::string name = guardName("closed");
    {
        platform::InstanceGuard first(name.c_str());
    }
    platform::InstanceGuard again(name.c_str());
    EXPECT_FALSE(again.alreadyExists());
}

TEST(InstanceGuard, IsANamedReadWriteMappingOtherCodeCanOpen)
{
    const std::string name = guardName("mapping");
    platform::InstanceGuard guard(name.c_str());
    HANDLE mapping = OpenFileMappingA(FILE_MAP_READ | FILE_MAP_WRITE, FALSE, name.c_str());
    ASSERT_NE(mapping, nullptr);
    void *view = MapViewOfFile(mapping, FILE_MAP_READ | FILE_MAP_WRITE, 0, 0, 0);
    ASSERT_NE(view, nullptr);
    MEMORY_BASIC_INFORMATION info {};
    ASSERT_NE(VirtualQuery(view, &info, sizeof info), 0u);
    // A view of the whole object: at least its 1024 bytes (the system rounds to whole pages).
    EXPECT_GE(info.RegionSize, 1024u);
    EXPECT_EQ(info.Protect, static_cast<DWORD>(PAGE_READWRITE));
    UnmapViewOfFile(view);
    CloseHandle(mapping);
}

TEST(InstanceGuard, AnotherProcessHoldingItIsSeenAndAKilledHolderReleasesIt)
{
    const std::string name = guardName("holder");
    const std::string readyName = name + "_ready";
    HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, readyName.c_str());
    ASSERT_NE(ready, nullptr);

    Child holder(selfCommand({"--child=hold-guard", name, readyName}));
    ASSERT_TRUE(holder.started());
    ASSERT_EQ(WaitForSingleObject(ready, 60000), WAIT_OBJECT_0);
    {
        platform::InstanceGuard second(name.c_str());
        EXPECT_TRUE(second.alreadyExists());
    }

    // Ended as by a crash: the guard's destructor never runs, the system closes the handle.
    holder.kill();
    platform::InstanceGuard after(name.c_str());
    EXPECT_FALSE(after.alreadyExists());
    CloseHandle(ready);
}

TEST(InstanceGuard, OfTwoProcessesStartingTogetherExactlyOneSeesTheOther)
{
    const std::string name = guardName("race");
    const std::string startName = name + "_start";
    const std::string createdName = name + "_created";
    const std::string releaseName = name + "_release";
    HANDLE start = CreateEventA(nullptr, TRUE, FALSE, startName.c_str());
    HANDLE created = CreateSemaphoreA(nullptr, 0, 2, createdName.c_str());
    HANDLE release = CreateEventA(nullptr, TRUE, FALSE, releaseName.c_str());
    ASSERT_TRUE(start && created && release);

    const std::vector<std::string> arguments {
        "--child=race-guard", name, startName, createdName, releaseName};
    Child first(selfCommand(arguments));
    Child second(selfCommand(arguments));
    ASSERT_TRUE(first.started());
    ASSERT_TRUE(second.started());
    SetEvent(start);
    // Both have created (or opened) the guard before either lets it go.
    ASSERT_EQ(WaitForSingleObject(created, 60000), WAIT_OBJECT_0);
    ASSERT_EQ(WaitForSingleObject(created, 60000), WAIT_OBJECT_0);
    SetEvent(release);

    const auto firstCode = first.wait(60000);
    const auto secondCode = second.wait(60000);
    ASSERT_TRUE(firstCode.has_value());
    ASSERT_TRUE(secondCode.has_value());
    EXPECT_LE(*firstCode, 1u);
    EXPECT_LE(*secondCode, 1u);
    EXPECT_EQ(*firstCode + *secondCode, 1u) << "exactly one of the two must see the guard";
    CloseHandle(start);
    CloseHandle(created);
    CloseHandle(release);
}
