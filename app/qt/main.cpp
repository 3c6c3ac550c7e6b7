// Program entry: the single-instance guard, the application object and the main window.
#include "app/qt/bus_service.h"
#include "app/qt/main_window.h"

#include "app/core/layout.h"
#include "platform/desktop_wallpaper.h"
#include "platform/instance_guard.h"
#include "platform/qt/end_requests.h"
#include "platform/qt/window.h"

#include <QApplication>
#include <QSessionManager>

#include <utility>

namespace {

// The toolkit's request to quit (the session manager's order to end, among others) goes to the
// core as an end request, after the event that brought it: left to the toolkit, it would close
// a waiting box as if answered and end only that box's loop, and the program would go on.
class QuitRequests : public QObject
{
public:
    explicit QuitRequests(TForm1 &form)
        : m_form(form)
    {
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::Quit || watched != QCoreApplication::instance())
            return false;
        QMetaObject::invokeMethod(
            this, [this] { m_form.WMEndSession(); }, Qt::QueuedConnection);
        return true;
    }

private:
    TForm1 &m_form;
};

} // namespace

int main(int, char *argv[])
{
    // A second copy ends here, before it touches the display, a setting or a file.
    platform::InstanceGuard guard(core::layout::InstanceName);
    if (guard.alreadyExists())
        return 0;

    const auto app = qtshell::makeApplication(argv[0]);
    platform::prepareWindowLook();
    TForm1::Environment environment;
    environment.setDeskWallpaper = platform::setDeskWallpaper;
    qtshell::MainWindow window(std::move(environment));
    TForm1 &Form1 = window.form();
    // Termination signals and the session's end end the program and save, as closing does; a
    // session that only saves its state (a checkpoint, or a log-off another program may still
    // cancel) has the program save without ending.
    platform::EndRequestWatcher endRequests;
    QObject::connect(&endRequests, &platform::EndRequestWatcher::endRequested, &window,
        [&Form1] { Form1.WMEndSession(); });
    QObject::connect(app.get(), &QGuiApplication::commitDataRequest, &window,
        [&Form1](QSessionManager &) { Form1.SaveSession(); });
    QuitRequests quitRequests(Form1);
    app->installEventFilter(&quitRequests);
    Form1.FormCreate();
    // Keyboard shortcuts and scripts reach the running program on the session bus; without a
    // bus, or with the name held by another program, it runs as it always has.
    qtshell::BusService bus(Form1);
    bus.publish();
    QApplication::exec();
    // However the loop ended, the program ends through its saving path.
    Form1.WMEndSession();
    return 0;
}
