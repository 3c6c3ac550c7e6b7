// Saves the list file and a setting in the registry file over and over, as a shutdown does,
// each time with other bytes: `save_loop FOLDER` runs until it is killed, `save_loop FOLDER
// once` saves once and ends. The list alternates between two versions of 4 MB each.
#include "picturelist/list_file.h"
#include "platform/linux/registry_file.h"

#include <cstdio>
#include <string>

int main(int argc, char **argv)
{
    if (argc < 2)
        return 2;
    const std::string folder = argv[1];
    const bool once = argc > 2 && std::string(argv[2]) == "once";
    picturelist::PictureEntries lists[2];
    for (int v = 0; v < 2; ++v) {
        for (int i = 0; i < 40000; ++i)
            lists[v].push_back({"/pictures/" + std::string(80, static_cast<char>('a' + v))
                    + std::to_string(i) + ".bmp",
                "3100|50"});
    }
    platform::FileRegistry registry(folder + "/HKEY_CURRENT_USER.reg");
    for (unsigned n = 0;; ++n) {
        if (!picturelist::writeListFile(folder + "/MurelinAll.txt", lists[n % 2])
            || !registry.write("Software\\Tovrane\\Murelin", "Index",
                platform::RegValue {platform::RegSz, std::string(n % 2 ? "1" : "0") + '\0'})) {
            std::fprintf(stderr, "save_loop: a save failed\n");
            return 1;
        }
        if (once)
            return 0;
    }
}
