// Program entry: the single-instance guard, the application object and the main window.
#include "Murelin1.h"
#include "dialogs.h"

#include "platform/instance_guard.h"
#include "platform/shell.h"

#include <QSessionManager>

#include <QApplication>

int main(int argc, char *argv[])
{
    // A second copy ends here, before it touches the display, a setting or a file.
    platform::InstanceGuard guard("one_inst_runall_going");
    if (guard.alreadyExists())
        return 0;

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("murelin"));
    QApplication::setApplicationDisplayName(QString::fromLatin1(murelin::ApplicationTitle));
    // The window stays hidden when the loop starts; only the notification icon shows, and
    // closing the window, not hiding it, ends the program.
    QApplication::setQuitOnLastWindowClosed(false);

    TForm1 Form1;
    // Log-off, shutdown and termination signals end the program and save, as closing does.
    platform::EndRequestWatcher endRequests;
    QObject::connect(&endRequests, &platform::EndRequestWatcher::endRequested, &Form1,
        [&Form1] { Form1.WMEndSession(); });
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &Form1,
        [&Form1](QSessionManager &) { Form1.WMEndSession(); });
    Form1.FormCreate();
    app.exec();
    return 0;
}
