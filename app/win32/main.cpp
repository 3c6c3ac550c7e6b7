// Program entry on Windows: the single-instance guard, the main window and the message loop.
#include "app/win32/main_window.h"

#include "app/core/layout.h"
#include "platform/desktop_wallpaper.h"
#include "platform/instance_guard.h"

#include <utility>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    // A second copy ends here, before it makes a window or touches a setting or a file.
    platform::InstanceGuard guard(core::layout::InstanceName);
    if (guard.alreadyExists())
        return 0;

    // The window stays hidden: only the notification icon shows.
    TForm1::Environment environment;
    environment.setDeskWallpaper = platform::setDeskWallpaper;
    win32shell::MainWindow window(instance, std::move(environment));
    TForm1 &Form1 = window.form();
    Form1.FormCreate();
    MSG message {};
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (window.translate(message))
            continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    // However the loop ended, the program ends through its saving path.
    Form1.WMEndSession();
    return 0;
}
