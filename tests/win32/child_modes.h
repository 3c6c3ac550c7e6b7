#pragma once

// The test executable also serves as the other process of the tests that need two: started
// with "--child=NAME args...", it runs the mode of that name instead of the tests.
#include <string>
#include <vector>

namespace win32test {

using ChildMain = int (*)(const std::vector<std::string> &arguments);

struct ChildMode
{
    ChildMode(const char *name, ChildMain main);
};

/** The mode's exit code, or -1 when there is no mode of that name. */
int runChildMode(const std::string &name, const std::vector<std::string> &arguments);

} // namespace win32test
