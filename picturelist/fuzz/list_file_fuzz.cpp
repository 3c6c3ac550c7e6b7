// libFuzzer target over the list file's reader: any bytes give a list, and that list written
// and read again gives the same list.
#include "picturelist/list_file.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char *>(data), size);
    const picturelist::PictureEntries entries = picturelist::parseListFile(bytes);
    const std::string written = picturelist::formatListFile(entries);
    if (picturelist::parseListFile(written) != entries)
        std::abort();
    // What the writer makes, the writer makes again.
    if (picturelist::formatListFile(picturelist::parseListFile(written)) != written)
        std::abort();
    return 0;
}
