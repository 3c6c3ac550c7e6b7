#pragma once

// The program's window for the benchmarks: on a desktop with a notification area, every box
// answered at once.

#include "app/qt/main_window.h"

class BenchWindow : public qtshell::MainWindow
{
public:
    using MainWindow::MainWindow;
    core::MsgAnswer messageBox(const core::MessageRequest &) override
    {
        return core::MsgAnswer::Ok;
    }
    bool notificationAreaAvailable() override { return true; }
    core::Size maximizedWindowSize() override { return {1032, 776}; }
};
