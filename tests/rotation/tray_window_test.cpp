// The notification icon's clicks, showing and minimising the window, the desktop without a
// notification area, and help, through the real window under the offscreen platform.
#include "rotation_world.h"

#include "platform/paths.h"
#include "platform/shell.h"

#include <QtTest>

#include <fstream>
#include <sstream>

namespace {

constexpr std::uint32_t WM_MOUSEMOVE_ = 0x0200;
constexpr std::uint32_t WM_LBUTTONUP_ = 0x0202;
constexpr std::uint32_t WM_LBUTTONDBLCLK_ = 0x0203;
constexpr std::uint32_t WM_RBUTTONUP_ = 0x0205;
constexpr std::uint32_t WM_RBUTTONDBLCLK_ = 0x0206;
constexpr std::uint32_t WM_MBUTTONDOWN_ = 0x0207;

void pressRight(TForm1 &form)
{
    Q_EMIT form.trayIcon()->rightButtonDown();
}

/** Minimising as the window manager reports it (showMinimized would map the window again). */
void minimise(TForm1 &form)
{
    form.setWindowState(form.windowState() | Qt::WindowMinimized);
}

void pressLeft(TForm1 &form)
{
    Q_EMIT form.trayIcon()->leftButtonDown();
}

} // namespace

class TrayWindowTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void rightClickShowsTheWindowAndCancelsTheAutomaticExit()
    {
        RotationWorld world;
        world.list(2, {"1", "1"});
        world.store("AutoQuit", "true");
        world.store("PreviewOn", "true"); // the pictures are missing: each preview says so
        world.store("FLeft", "140");
        world.store("FTop", "90");
        auto form = world.startForm();
        QVERIFY(!form->isVisible());
        QVERIFY(form->Timer1->isActive());
        QVERIFY(form->trayIcon()->isShown());
        pressRight(*form);
        QVERIFY(form->isVisible());
        QCOMPARE(form->pos(), QPoint(140, 90));
        QVERIFY(!form->Timer1->isActive());
        QCOMPARE(world.messages.size(), size_t(1)); // the preview was drawn
        // Shown already: only the preview is drawn again; FormShow does not run again.
        form->Timer1->start();
        pressRight(*form);
        QVERIFY(form->isVisible());
        QVERIFY(form->Timer1->isActive());
        QCOMPARE(world.messages.size(), size_t(2));
        QVERIFY(world.calls.empty());
        form->Timer1->stop();
    }

    void leftClick_data()
    {
        QTest::addColumn<bool>("iconClick");
        QTest::addColumn<bool>("shown");
        QTest::addRow("on, hidden") << true << false;
        QTest::addRow("on, shown") << true << true;
        QTest::addRow("off, hidden") << false << false;
        QTest::addRow("off, shown") << false << true;
    }
    void leftClick()
    {
        QFETCH(bool, iconClick);
        QFETCH(bool, shown);
        RotationWorld world;
        world.list(3);
        world.store("Index", "1");
        world.store("IconClick", iconClick ? "true" : "false");
        auto form = world.startForm();
        if (shown)
            pressRight(*form);
        pressLeft(*form);
        QCOMPARE(form->isVisible(), shown);
        if (iconClick) {
            QCOMPARE(world.calls.size(), size_t(1));
            QCOMPARE(world.calls.front().path, pathOf(2));
        } else {
            QVERIFY(world.calls.empty());
            QCOMPARE(form->PictureIndex, 1);
        }
    }

    void otherMouseMessagesDoNothing()
    {
        RotationWorld world;
        world.list(3);
        world.store("IconClick", "true");
        world.store("AutoQuit", "true");
        auto form = world.startForm();
        for (std::uint32_t message : {WM_MOUSEMOVE_, WM_LBUTTONUP_, WM_LBUTTONDBLCLK_,
                 WM_RBUTTONUP_, WM_RBUTTONDBLCLK_, WM_MBUTTONDOWN_})
            form->TrayIconMessage(message);
        QVERIFY(world.calls.empty());
        QVERIFY(!form->isVisible());
        QVERIFY(form->Timer1->isActive());
        form->Timer1->stop();
    }

    void minimisingHidesTheWindowAndKeepsTheIcon()
    {
        RotationWorld world;
        world.store("AutoQuit", "true");
        auto form = world.startForm();
        pressRight(*form);
        QVERIFY(form->isVisible());
        minimise(*form);
        QVERIFY(!form->isVisible());
        QVERIFY(form->trayIcon()->isShown());
        QVERIFY(!form->Timer1->isActive()); // hiding does not re-arm the automatic exit
        // The icon brings it back out of the minimised state.
        pressRight(*form);
        QVERIFY(form->isVisible());
        QVERIFY(!form->isMinimized());
        QCOMPARE(world.endProcessCalls, 0);
    }

    // ------------------------------------------------------------ no notification area

    void withoutNotificationArea_data()
    {
        QTest::addColumn<bool>("area");
        QTest::addColumn<bool>("loadStart");
        QTest::addColumn<bool>("autoQuit");
        QTest::addColumn<bool>("visible");
        QTest::addColumn<bool>("exitPending");
        QTest::addRow("area, plain start") << true << false << false << false << false;
        QTest::addRow("area, log-in use") << true << true << true << false << true;
        QTest::addRow("none, plain start") << false << false << false << true << false;
        QTest::addRow("none, load on start") << false << true << false << true << false;
        // Shown, so the automatic exit is cancelled as when the user shows it.
        QTest::addRow("none, automatic exit") << false << false << true << true << false;
        QTest::addRow("none, log-in use") << false << true << true << false << true;
    }
    void withoutNotificationArea()
    {
        QFETCH(bool, area);
        QFETCH(bool, loadStart);
        QFETCH(bool, autoQuit);
        QFETCH(bool, visible);
        QFETCH(bool, exitPending);
        RotationWorld world;
        world.notificationArea = area;
        world.list(2);
        world.store("LoadStart", loadStart ? "true" : "false");
        world.store("AutoQuit", autoQuit ? "true" : "false");
        world.store("FLeft", "33");
        world.store("FTop", "44");
        auto form = world.startForm();
        QCOMPARE(form->isVisible(), visible);
        QCOMPARE(form->Timer1->isActive(), exitPending);
        QCOMPARE(world.calls.size(), size_t(loadStart ? 1 : 0));
        if (visible)
            QCOMPARE(form->pos(), QPoint(33, 44));
        form->Timer1->stop();
    }

    void withoutNotificationAreaMinimisingKeepsTheTaskbarEntry()
    {
        RotationWorld world;
        world.notificationArea = false;
        auto form = world.startForm();
        QVERIFY(form->isVisible());
        minimise(*form);
        QVERIFY(form->isVisible());
        QVERIFY(form->isMinimized());
    }

    // ------------------------------------------------------------ help

    // Which folder holds the page (beside the program, else the installed data folder) is the
    // platform's lookup, run for real by the end-to-end tests of the build and of the package.
    void helpOpensTheProgramsHelpPageAtItsContents()
    {
        RotationWorld world;
        auto form = world.startForm();
        form->BitBtn4->click();
        QCOMPARE(world.helpOpened.size(), size_t(1));
        QCOMPARE(world.helpOpened.front().first, platform::dataFilePath("Murelin.html"));
        QCOMPARE(world.helpOpened.front().second, std::string("Contents"));
        QVERIFY(world.messages.empty());
    }

    void helpPageShipsWithAContentsAnchorAndEveryControl()
    {
        std::ifstream file(MURELIN_HELP_PAGE);
        QVERIFY(file.good());
        std::stringstream page;
        page << file.rdbuf();
        const std::string text = page.str();
        QVERIFY(text.find("id=\"Contents\"") != std::string::npos);
        for (const char *control : {"Next &gt;", "&lt; Prev", "Load Current", "Add", "Remove",
                 "Clear All", "Sort", "Up, Down", "Stretch", "Center", "Tiled", "Location",
                 "Timer On", "Sec", "Random Pick", "Icon Click Next", "Load on Start",
                 "Automatic Exit", "Preview On", "Right button", "Left button"})
            QVERIFY2(text.find(control) != std::string::npos, control);
    }
};

QTEST_MAIN(TrayWindowTest)
#include "tray_window_test.moc"
