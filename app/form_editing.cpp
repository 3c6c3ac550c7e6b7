// The window's handlers for the preview and for editing the list. The work on the entries is
// done by the list commands; these handlers run the steps that show the result, in order.
#include "Murelin1.h"

#include "dialogs.h"
#include "jpegctl/JpgImg.h"
#include "picturelist/list_commands.h"
#include "wallpaper/preview_fit.h"

#include <QKeyEvent>

#include <algorithm>

namespace {

constexpr const char *UnableToLoad
    = "Unable to load specified file. File may not exist or be corrupt.";

} // namespace

// ---------------------------------------------------------------- preview

void TForm1::PreviewOnClick()
{
    if (PreviewOn->isChecked()) {
        PreviewEnabled = true;
        DisplayMe();
    } else {
        PreviewEnabled = false;
    }
}

void TForm1::DisplayMe()
{
    if (itemCount() == 0 || !PreviewEnabled)
        return;
    const int row = currentRow();
    if (row < 0)
        return; // no current item: the preview keeps what it shows
    const std::string path = m_list->entry(row).path;
    // Every file must open, whatever its name; only bitmaps are then shown.
    if (!wallpaper::fileOpensForReading(path)) {
        murelin::showMessage(this, UnableToLoad);
        return;
    }
    if (!picturelist::hasBmpEnding(path))
        return;
    JPEGImage1->loadBitmapFile(path); // a file that is no bitmap throws; the picture stays
    const QImage &picture = JPEGImage1->picture();
    Panel6->setCaption(PictureListModel::displayText(
        wallpaper::previewCaption(picture.width(), picture.height())));
    CheckSize();
}

void TForm1::CheckSize()
{
    const QImage &picture = JPEGImage1->picture();
    const int frameWidth = Panel2->width();
    const int frameHeight = Panel2->height();
    if (const auto size
        = wallpaper::previewSize(picture.width(), picture.height(), frameWidth, frameHeight))
        JPEGImage1->resize(std::max(0, size->width), std::max(0, size->height));
    JPEGImage1->move(wallpaper::previewLeft(frameWidth, JPEGImage1->width()), JPEGImage1->y());
}

// ---------------------------------------------------------------- list editing

void TForm1::B10Click()
{
    const murelin::OpenDialogRequest request {"*.bmp", "*.bmp|*.bmp", true};
    // The chosen names are held as bytes here rather than in the scratch list, whose texts
    // would not keep a name that is not valid text.
    const std::vector<std::string> chosen = murelin::runOpenDialog(this, request);
    if (!chosen.empty()) {
        const std::string settings = newEntrySettings();
        picturelist::PictureEntries added;
        added.reserve(chosen.size());
        for (const std::string &name : chosen)
            added.push_back(picturelist::PictureEntry {name, settings});
        {
            const ProgramSelection change(*this);
            m_list->append(added);
        }
        PictureIndex = picturelist::indexAfterAppend(PictureIndex, itemCount());
        SelectPictureIndex();
    }
    updateCount();
    DisplayMe();
}

void TForm1::B6Click()
{
    {
        const ProgramSelection change(*this);
        m_list->removeRowsAt(selectedRows());
    }
    PictureIndex = picturelist::indexAfterRemove(PictureIndex, itemCount());
    if (PictureIndex >= 0)
        SelectPictureIndex(); // an emptied list has no row to show
    DisplayMe();
    updateCount();
    ReadOptions();
}

void TForm1::ListBox1KeyDown(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Delete)
        B6Click();
}

void TForm1::B2Click()
{
    // No parent: the box is centred on the screen rather than on the window.
    const murelin::MsgAnswer answer = murelin::messageBox(nullptr,
        murelin::MessageRequest {"Please confirm you wish to completely clear the list.", "Confirm",
            murelin::MsgIcon::Question, murelin::MsgButtons::YesNoCancel, murelin::MsgAnswer::Yes});
    if (answer != murelin::MsgAnswer::Yes)
        return;
    {
        const ProgramSelection change(*this);
        m_list->clear();
    }
    PictureIndex = -1;
    updateCount();
    ReadOptions();
}

void TForm1::B3Click()
{
    picturelist::PictureEntries entries = m_list->entries();
    picturelist::sortEntries(entries);
    {
        const ProgramSelection change(*this);
        m_list->setEntries(std::move(entries));
    }
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
    {
        const ProgramSelection change(*this);
        m_list->swapRows(move->from, move->to);
    }
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
    const picturelist::PictureEntries added
        = picturelist::droppedEntries(names, newEntrySettings());
    {
        const ProgramSelection change(*this);
        m_list->append(added);
    }
    PictureIndex = picturelist::indexAfterAppend(PictureIndex, itemCount());
    if (PictureIndex >= 0)
        SelectPictureIndex();
    updateCount();
    ReadOptions();
    DisplayMe();
}
