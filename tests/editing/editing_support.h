#pragma once

// A window of its own for each editing test: the shared window world (private registry and
// list file), message boxes answered and recorded, bitmaps written on demand, and the list's
// whole state as one line of text for comparisons.

#include "app/window_fixture.h"

#include "jpegctl/JpgImg.h"

#include <QDir>
#include <QImage>
#include <QStringList>
#include <QTemporaryDir>

#include <string>
#include <utility>
#include <vector>

inline constexpr const char *UnableToLoad
    = "Unable to load specified file. File may not exist or be corrupt.";

struct EditingWorld : WindowWorld
{
    std::vector<murelin::MessageRequest> requests;
    murelin::MsgAnswer answer = murelin::MsgAnswer::Yes; // for a question
    std::vector<murelin::OpenDialogRequest> dialogs;
    std::vector<std::string> chosen; // the file dialog's answer; empty is a cancel

    EditingWorld()
    {
        murelin::setMessageBoxHandler([this](const murelin::MessageRequest &r) {
            requests.push_back(r);
            messages.push_back(r.text);
            return r.buttons == murelin::MsgButtons::Ok ? murelin::MsgAnswer::Ok : answer;
        });
        murelin::setOpenDialogHandler([this](const murelin::OpenDialogRequest &r) {
            dialogs.push_back(r);
            return chosen;
        });
    }
    ~EditingWorld() { murelin::setOpenDialogHandler({}); }

    /** A window started on a list of (path, settings) entries, with "Index" stored. */
    std::unique_ptr<TForm1> startWith(
        const std::vector<std::pair<std::string, std::string>> &entries, int index = 0)
    {
        std::string list;
        for (const auto &[path, settings] : entries)
            list += path + "\r\n" + settings + "\r\n";
        writeList(list);
        store("Index", std::to_string(index));
        return start();
    }

    /** Writes a `width` x `height` Windows bitmap named `name` and gives its path. */
    std::string bitmap(const std::string &name, int width, int height)
    {
        const std::string path = dir.file(name);
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(Qt::darkCyan);
        image.save(QString::fromStdString(path), "BMP");
        return path;
    }

    /** A file holding `bytes`. */
    std::string file(const std::string &name, const std::string &bytes)
    {
        const std::string path = dir.file(name);
        platform::writeFileAtomically(path, bytes);
        return path;
    }
};

/** Entries "/p/<i>.bmp" with settings strings of their own, for lists of `count`. */
inline std::vector<std::pair<std::string, std::string>> numberedEntries(int count)
{
    std::vector<std::pair<std::string, std::string>> entries;
    for (int i = 0; i < count; ++i)
        entries.emplace_back("/p/" + std::to_string(i) + ".bmp",
            "3" + std::to_string(10 * i) + "|" + std::to_string(i));
    return entries;
}

/**
 * The list and everything that must follow it, as one line: the entries (path=settings),
 * the current picture, the selected rows, the current item and the count shown.
 */
inline QString listState(const TForm1 &form)
{
    QStringList entries;
    for (const picturelist::PictureEntry &e : form.pictureList()->entries())
        entries << QString::fromLocal8Bit(e.path.data(), static_cast<qsizetype>(e.path.size()))
                + u'=' + QString::fromStdString(e.settings);
    QStringList selected;
    for (int row : form.selectedRows())
        selected << QString::number(row);
    return entries.join(QStringLiteral(", ")) + QStringLiteral(" | index ")
        + QString::number(form.PictureIndex) + QStringLiteral(" | selected ") + selected.join(u',')
        + QStringLiteral(" | current ") + QString::number(form.currentRow())
        + QStringLiteral(" | count ") + form.Panel5->caption();
}

/** The placement controls as "mode x y". */
inline QString controls(const TForm1 &form)
{
    return QStringLiteral("%1 %2 %3")
        .arg(form.RadioGroup1->itemIndex())
        .arg(form.SpinEdit1->value())
        .arg(form.SpinEdit2->value());
}

/** Gives the process a configuration folder of its own for the whole run. */
inline void privateConfigHome(QTemporaryDir &home)
{
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.path()));
}
