// The window's handlers for the preview and for editing the list. The work on the entries is
// done by the list commands; these handlers run the steps that show the result, in order.
#include "app/core/Murelin1.h"

#include "app/core/layout.h"
#include "picturelist/list_commands.h"
#include "wallpaper/preview_fit.h"

#include <algorithm>

namespace {

constexpr const char *UnableToLoad
    = "Unable to load specified file. File may not exist or be corrupt.";

} // namespace

// ---------------------------------------------------------------- preview

void TForm1::PreviewOnClick()
{
    PreviewEnabled = PreviewOn.checked();
    if (PreviewEnabled)
        DisplayMe();
}

void TForm1::DisplayMe()
{
    if (itemCount() == 0 || !PreviewEnabled)
        return;
    const int row = ListBox1.itemIndex();
    if (row < 0)
        return; // no current item: the preview keeps what it shows
    const std::string path = ListBox1.item(row);
    // Every file must open, whatever its name; only bitmaps are then shown.
    if (!wallpaper::fileOpensForReading(path)) {
        showMessage(UnableToLoad);
        return;
    }
    if (!picturelist::hasBmpEnding(path))
        return;
    // A file that is no bitmap raises an error; the picture stays.
    const core::Size size = m_shell.loadBitmap(path);
    JPEGImage1.show(path, size.width, size.height);
    Panel6.setCaption(wallpaper::previewCaption(size.width, size.height));
    CheckSize();
}

void TForm1::CheckSize()
{
    const core::layout::ControlLayout &frame = core::layout::control("Panel2");
    int width = JPEGImage1.width();
    int height = JPEGImage1.height();
    if (const auto size = wallpaper::previewSize(
            JPEGImage1.pictureWidth(), JPEGImage1.pictureHeight(), frame.width, frame.height)) {
        width = std::max(0, size->width);
        height = std::max(0, size->height);
    }
    JPEGImage1.setBounds(
        wallpaper::previewLeft(frame.width, width), JPEGImage1.top(), width, height);
}

// ---------------------------------------------------------------- list editing

void TForm1::B10Click()
{
    const core::OpenDialogRequest request {"bmp", {{"*.bmp", "*.bmp"}}, true};
    std::vector<std::string> chosen;
    {
        const Modal modal(*this);
        chosen = m_shell.openDialog(request);
    }
    // The chosen names are held as bytes here rather than in the scratch list.
    std::vector<std::string> refused;
    if (!chosen.empty())
        addPictures(picturelist::addedEntries(chosen, newEntrySettings(), &refused));
    updateCount();
    reportRefused(refused);
    DisplayMe();
}

void TForm1::addPictures(const picturelist::PictureEntries &added)
{
    appendEntries(added);
    PictureIndex = picturelist::indexAfterAppend(PictureIndex, itemCount());
    if (PictureIndex >= 0)
        SelectPictureIndex();
}

void TForm1::reportRefused(const std::vector<std::string> &refused)
{
    if (refused.empty())
        return;
    std::string text = "These files were not added: the list file cannot hold a name with a "
                       "line break or a Ctrl-Z in it.";
    for (const std::string &name : refused)
        text += "\n" + name;
    showMessage(text);
}

void TForm1::B6Click()
{
    picturelist::PictureEntries all = entries();
    picturelist::eraseRows(all, ListBox1.selectedRows());
    setEntries(std::move(all));
    PictureIndex = picturelist::indexAfterRemove(PictureIndex, itemCount());
    if (PictureIndex >= 0)
        SelectPictureIndex(); // an emptied list has no row to show
    DisplayMe();
    updateCount();
    ReadOptions();
}

void TForm1::ListBox1KeyDown(core::Key key)
{
    if (key == core::Key::Delete)
        B6Click();
}

void TForm1::B2Click()
{
    // The box stands on its own, centred on the screen rather than over the window.
    const core::MsgAnswer answer = ask(
        core::MessageRequest {"Please confirm you wish to completely clear the list.", "Confirm",
            core::MsgIcon::Question, core::MsgButtons::YesNoCancel, core::MsgAnswer::Yes, false});
    if (answer != core::MsgAnswer::Yes)
        return;
    setEntries({});
    PictureIndex = -1;
    updateCount();
    ReadOptions();
}

void TForm1::B3Click()
{
    picturelist::PictureEntries all = entries();
    picturelist::sortEntries(all);
    setEntries(std::move(all));
    PictureIndex = itemCount() > 0 ? 0 : -1;
    if (PictureIndex >= 0)
        SelectPictureIndex();
    updateCount();
    DisplayMe();
    ReadOptions();
}

// Up and Down: the current picture changes places with its neighbour, and stays current.
void TForm1::moveCurrentPicture(bool up)
{
    SetFirst();
    const auto move = up ? picturelist::moveUp(PictureIndex, itemCount())
                         : picturelist::moveDown(PictureIndex, itemCount());
    if (!move)
        return;
    const picturelist::PictureEntry from = entry(move->from);
    const picturelist::PictureEntry to = entry(move->to);
    ListBox1.setItem(move->from, to.path);
    ListBox3.setItem(move->from, to.settings);
    ListBox1.setItem(move->to, from.path);
    ListBox3.setItem(move->to, from.settings);
    PictureIndex = move->to;
    SelectPictureIndex();
    updateCount();
    DisplayMe();
}

void TForm1::B8Click()
{
    moveCurrentPicture(true);
}

void TForm1::B9Click()
{
    moveCurrentPicture(false);
}

// ---------------------------------------------------------------- dropped files

void TForm1::WMDropFiles(const std::vector<std::string> &names)
{
    // Every name arrives whole, however long; the whole name is tested and stored.
    std::vector<std::string> refused;
    addPictures(picturelist::droppedEntries(names, newEntrySettings(), &refused));
    updateCount();
    reportRefused(refused);
    ReadOptions();
    DisplayMe();
}
