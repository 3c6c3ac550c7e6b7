// Times the registry file's reader on a file of continued hex lines ("x"=hex:,\ again and
// again), at 20,000, 40,000 and 80,000 lines side by side: a reader linear in the file's size
// doubles its time with each step. Prints figures; asserts nothing.
#include "platform/linux/registry_file.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

int main()
{
    for (const int lines : {20000, 40000, 80000}) {
        std::string text = "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Tovrane\\Murelin]\n";
        for (int i = 0; i < lines; ++i)
            text += "\"x\"=hex:,\\\n";
        text += "\n\"Index\"=\"3\"\n";
        std::vector<double> ms;
        for (int run = 0; run < 7; ++run) {
            const auto start = std::chrono::steady_clock::now();
            const platform::RegDocument doc = platform::RegDocument::parse(text);
            const auto stop = std::chrono::steady_clock::now();
            if (doc.keys.size() != 1)
                return 1;
            ms.push_back(std::chrono::duration<double, std::milli>(stop - start).count());
        }
        std::sort(ms.begin(), ms.end());
        std::printf("registry file, %d continued hex lines (%zu KB): parse median %.2f ms\n", lines,
            text.size() / 1024, ms[ms.size() / 2]);
    }
    return 0;
}
