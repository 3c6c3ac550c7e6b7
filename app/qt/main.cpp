// Program entry: the single-instance guard, the application object and the main window.
#include "qt/main_window.h"

#include "core/layout.h"
#include "platform/end_requests.h"
#include "platform/instance_guard.h"
#include "platform/window.h"

#include <QApplication>
#include <QSessionManager>

int main(int, char *argv[])
{
    // A second copy ends here, before it touches the display, a setting or a file.
    platform::InstanceGuard guard(core::layout::InstanceName);
    if (guard.alreadyExists())
        return 0;

    const auto app = qtshell::makeApplication(argv[0]);
    platform::prepareWindowLook();
    qtshell::MainWindow window;
    TForm1 &Form1 = window.form();
    // Termination signals and the session's end end the program and save, as closing does; a
    // session that only saves its state (a checkpoint, or a log-off another program may still
    // cancel) has the program save without ending.
    platform::EndRequestWatcher endRequests;
    QObject::connect(&endRequests, &platform::EndRequestWatcher::endRequested, &window,
        [&Form1] { Form1.WMEndSession(); });
    QObject::connect(app.get(), &QGuiApplication::commitDataRequest, &window,
        [&Form1](QSessionManager &) { Form1.SaveSession(); });
    Form1.FormCreate();
    QApplication::exec();
    // However the loop ended (the session manager's end of the session among others), the
    // program ends through its saving path.
    Form1.WMEndSession();
    return 0;
}
