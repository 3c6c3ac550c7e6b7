// libFuzzer target over the registry file: any bytes are written back exactly as read; a
// value the program sets reads back after the save, and every other line of the file stays
// as it was (at most a line end is added to a last line that had none).
#include "platform/linux/registry_file.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using platform::RegDocument;

constexpr const char *OurKey = "HKEY_CURRENT_USER\\Software\\Tovrane\\Murelin";

std::string withoutLineEnd(std::string piece)
{
    if (!piece.empty() && piece.back() == '\n')
        piece.pop_back();
    return piece;
}

// Every piece of the file but our value (and our key, when `skipOurKey`), in order.
std::vector<std::string> othersOf(RegDocument &doc, bool skipOurKey)
{
    RegDocument::Key *ours = doc.findKey(OurKey);
    const RegDocument::Line *value = ours ? RegDocument::findValue(*ours, "Index") : nullptr;
    std::vector<std::string> pieces {withoutLineEnd(doc.preamble)};
    for (const RegDocument::Key &key : doc.keys) {
        if (skipOurKey && &key == ours)
            continue;
        pieces.push_back(withoutLineEnd(key.raw));
        for (const RegDocument::Line &line : key.lines) {
            if (&line != value)
                pieces.push_back(withoutLineEnd(line.raw));
        }
    }
    return pieces;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 1)
        return 0;
    // The first byte picks the value's length and kind; the rest is the file.
    const std::size_t length = data[0] & 0x3f;
    const bool text = (data[0] & 0x40) != 0;
    const std::string file(reinterpret_cast<const char *>(data) + 1, size - 1);
    RegDocument doc = RegDocument::parse(file);
    if (!file.empty() && doc.serialize() != file)
        std::abort();
    const bool hadOurKey = doc.findKey(OurKey) != nullptr;
    const std::vector<std::string> before = othersOf(doc, false);

    platform::RegValue value;
    value.type = text ? platform::RegSz : platform::RegBinary;
    value.data = file.substr(0, length);
    if (text)
        value.data += '\0';
    RegDocument::setValue(doc.findOrAddKey(OurKey), "Index", value);
    const std::string saved = doc.serialize();

    RegDocument again = RegDocument::parse(saved);
    if (again.serialize() != saved)
        std::abort();
    RegDocument::Key *key = again.findKey(OurKey);
    const RegDocument::Line *line = key ? RegDocument::findValue(*key, "Index") : nullptr;
    if (!line || line->value != value)
        std::abort();
    if (!file.empty() && othersOf(again, !hadOurKey) != before)
        std::abort();
    return 0;
}
