#pragma once

#include <filesystem>
#include <functional>
#include <string>

namespace testsupport {

/** A fresh folder under the temporary folder, removed with everything in it at the end. */
class TempDir
{
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir &) = delete;
    TempDir &operator=(const TempDir &) = delete;

    const std::string &path() const { return m_path; }
    /** The path of `name` inside the folder (nothing is created). */
    std::string file(const std::string &name) const;

private:
    std::string m_path;
};

/** Writes `bytes` to `path`, replacing it; aborts the test run when that fails. */
void writeFile(const std::string &path, const std::string &bytes);
/** The whole content of `path`, or "<missing>" when it cannot be read. */
std::string readFile(const std::string &path);

/** How a test bitmap file is laid out: bits per pixel (24 or 32), row order, compression. */
struct BitmapLayout
{
    int bits = 24;
    bool topDown = false;
    unsigned compression = 0; // what the header names; the rows are written plain whatever it says
};

/**
 * The bytes of a Windows bitmap file of `width` x `height` pixels, pixel (x, y) being
 * `pixel(x, y)` as 0xRRGGBB (anything above is ignored).
 */
std::string bitmapFile(int width, int height, const std::function<unsigned(int x, int y)> &pixel,
    const BitmapLayout &layout = {});
/** An uncompressed 24-bit bitmap file all of one colour (0xRRGGBB). */
std::string bitmapFile(int width, int height, unsigned colour = 0x008080);

} // namespace testsupport
