#pragma once
// Test pictures saved under byte-exact names (Qt's own file names cannot hold every byte).

#include <QImage>
#include <QString>

#include <cstdio>
#include <string>
#include <sys/stat.h>

namespace testpics {

/** Saves `image` in `format` at `path` (any bytes); false when that fails. */
inline bool save(const QImage &image, const std::string &path, const char *format)
{
    const std::string plain = path.substr(0, path.rfind('/') + 1) + ".saving-picture";
    if (!image.save(QString::fromStdString(plain), format))
        return false;
    return std::rename(plain.c_str(), path.c_str()) == 0;
}

/** A 40 x 30 picture, one colour with a red top-left pixel. */
inline QImage marked(int width = 40, int height = 30)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(0xff336699);
    image.setPixel(0, 0, 0xffff0000);
    return image;
}

inline std::string folder(const std::string &base, const char *name)
{
    const std::string dir = base + "/" + name;
    ::mkdir(dir.c_str(), 0700);
    return dir;
}

} // namespace testpics
