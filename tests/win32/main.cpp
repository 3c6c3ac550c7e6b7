// Runs the Windows tests and closes with the plain line "N passed, N failed", by which the
// run under wine is judged (a 32-bit program under a wine without its 32-bit part prints
// nothing and still exits 0).
#include "tests/win32/child_modes.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <string>

namespace win32test {
namespace {

std::map<std::string, ChildMain> &modes()
{
    static std::map<std::string, ChildMain> table;
    return table;
}

} // namespace

ChildMode::ChildMode(const char *name, ChildMain main)
{
    modes()[name] = main;
}

int runChildMode(const std::string &name, const std::vector<std::string> &arguments)
{
    const auto found = modes().find(name);
    return found == modes().end() ? -1 : found->second(arguments);
}

} // namespace win32test

int main(int argc, char **argv)
{
    const std::string childPrefix = "--child=";
    if (argc >= 2 && std::string(argv[1]).starts_with(childPrefix)) {
        std::vector<std::string> arguments(argv + 2, argv + argc);
        return win32test::runChildMode(std::string(argv[1]).substr(childPrefix.size()), arguments);
    }

    testing::InitGoogleTest(&argc, argv);
    const int status = RUN_ALL_TESTS();
    const testing::UnitTest &unit = *testing::UnitTest::GetInstance();
    std::printf("%d passed, %d failed", unit.successful_test_count(), unit.failed_test_count());
    if (unit.skipped_test_count() > 0)
        std::printf(", %d skipped", unit.skipped_test_count());
    std::printf("\n");
    std::fflush(stdout);
    return status;
}
