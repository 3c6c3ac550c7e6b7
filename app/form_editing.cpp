// The window's handlers for the preview and for editing the list.
#include "Murelin1.h"

#include <QKeyEvent>

void TForm1::PreviewOnClick()
{
    PreviewEnabled = PreviewOn->isChecked();
}

void TForm1::DisplayMe()
{
}

void TForm1::CheckSize()
{
}

void TForm1::B2Click()
{
}

void TForm1::B3Click()
{
}

void TForm1::B6Click()
{
}

void TForm1::B8Click()
{
}

void TForm1::B9Click()
{
}

void TForm1::B10Click()
{
}

void TForm1::ListBox1KeyDown(QKeyEvent *)
{
}

void TForm1::WMDropFiles(const std::vector<std::string> &)
{
}
