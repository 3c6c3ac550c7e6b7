#include "platform/instance_guard.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using testsupport::TempDir;

namespace {

// Runs `body` in a child process and returns its exit status.
template <typename F> pid_t spawn(F body)
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::_exit(body());
    }
    return pid;
}

int exitStatus(pid_t pid)
{
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 100 + WTERMSIG(status);
}

class GuardTest : public ::testing::Test
{
protected:
    void SetUp() override { ::setenv("XDG_RUNTIME_DIR", m_dir.path().c_str(), 1); }
    TempDir m_dir;
};

} // namespace

TEST_F(GuardTest, ASecondHolderSeesTheFirst)
{
    platform::InstanceGuard first("guard_test");
    EXPECT_FALSE(first.alreadyExists());
    // Another process, as a second start would be.
    const pid_t child = spawn([] {
        platform::InstanceGuard second("guard_test");
        return second.alreadyExists() ? 7 : 0;
    });
    EXPECT_EQ(exitStatus(child), 7);
}

TEST_F(GuardTest, SimultaneousStartsLetExactlyOneRun)
{
    int pipeFds[2];
    ASSERT_EQ(::pipe(pipeFds), 0);
    std::vector<pid_t> children;
    for (int i = 0; i < 8; ++i) {
        children.push_back(spawn([&] {
            char go;
            ::close(pipeFds[1]);
            [[maybe_unused]] auto n = ::read(pipeFds[0], &go, 1); // all start together
            platform::InstanceGuard guard("race");
            if (guard.alreadyExists())
                return 1;
            ::usleep(300000); // hold it while the others try
            return 0;
        }));
    }
    ::close(pipeFds[0]);
    ::close(pipeFds[1]); // releases every child at once
    int running = 0;
    for (pid_t c : children)
        running += exitStatus(c) == 0 ? 1 : 0;
    EXPECT_EQ(running, 1);
}

TEST_F(GuardTest, AKilledHolderReleasesTheGuard)
{
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t holder = spawn([&] {
        platform::InstanceGuard guard("killed");
        [[maybe_unused]] auto n = ::write(ready[1], "x", 1);
        ::pause();
        return 0;
    });
    char c;
    ASSERT_EQ(::read(ready[0], &c, 1), 1);
    {
        platform::InstanceGuard whileHeld("killed");
        EXPECT_TRUE(whileHeld.alreadyExists());
    }
    ::kill(holder, SIGKILL);
    exitStatus(holder);
    platform::InstanceGuard after("killed");
    EXPECT_FALSE(after.alreadyExists());
}

TEST(Guard, WithoutARuntimeFolderAPlantedLinkIsNotFollowed)
{
    TempDir dir;
    ::unsetenv("XDG_RUNTIME_DIR");
    ::setenv("TMPDIR", dir.path().c_str(), 1);
    const std::string target = dir.file("victim");
    const std::string name = dir.file("linked-" + std::to_string(::getuid()));
    ASSERT_EQ(::symlink(target.c_str(), name.c_str()), 0);
    platform::InstanceGuard guard("linked");
    EXPECT_FALSE(guard.alreadyExists());
    struct stat st
    {
    };
    EXPECT_NE(::stat(target.c_str(), &st), 0) << "the link's target was created";
    ::unsetenv("TMPDIR");
}

TEST(Guard, WithoutARuntimeFolderTheFileIsTheUsersOwnAndPrivate)
{
    TempDir dir;
    ::unsetenv("XDG_RUNTIME_DIR");
    ::setenv("TMPDIR", dir.path().c_str(), 1);
    platform::InstanceGuard guard("private");
    struct stat st
    {
    };
    ASSERT_EQ(::stat(dir.file("private-" + std::to_string(::getuid())).c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    EXPECT_EQ(st.st_uid, ::getuid());
    ::unsetenv("TMPDIR");
}
