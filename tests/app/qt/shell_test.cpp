// The Qt shell: real widgets built from the layout data and bound to the form core both ways,
// under the offscreen platform; and what the toolkit adds or hides (a signal that does not come
// for an unchanged value, the order of a box's buttons, the file dialog's checks).
#include "tests/support/form_world.h"

#include "app/qt/main_window.h"
#include "app/qt/widgets.h"

#include "jpegctl/JpgImg.h"
#include "platform/paths.h"
#include "platform/qt/tray_icon.h"
#include "platform/qt/window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QMimeData>
#include <QProxyStyle>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <fstream>
#include <sstream>

using namespace testsupport;

namespace {

/** The window as the program builds it, on a desktop with a notification area. */
class TestWindow : public qtshell::MainWindow
{
public:
    using MainWindow::MainWindow;
    bool notificationAreaAvailable() override { return true; }
    bool openHelp(const std::string &file, const std::string &topic) override
    {
        helpOpened.emplace_back(file, topic);
        return true;
    }
    std::vector<std::pair<std::string, std::string>> helpOpened;
};

/** The window over a private world; boxes are answered by the tests. */
struct ShellWorld : FormWorld
{
    std::unique_ptr<qtshell::MainWindow> window;

    /** The window built and started as the program starts it, with `values` stored first. */
    TForm1 &start(const Stored &values = {})
    {
        store(values);
        TForm1::Environment env = environment();
        env.helpFile.clear(); // the shell's own choice
        window = std::make_unique<TestWindow>(env);
        window->form().FormCreate();
        return window->form();
    }
    template <typename W> W *get(const char *name) const
    {
        return qobject_cast<W *>(window->widget(name));
    }
};

/** Runs `action` on the next box or dialog the program opens, from inside its own loop. */
void onNextModal(std::function<void(QWidget *)> action)
{
    auto *poll = new QTimer;
    poll->setInterval(20);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, action] {
        if (QWidget *modal = QApplication::activeModalWidget()) {
            poll->stop();
            poll->deleteLater();
            action(modal);
        }
    });
    poll->start();
}

QByteArray uriList(const std::vector<std::string> &names)
{
    QByteArray list;
    for (const std::string &name : names)
        list += "file://"
            + QByteArray(name.data(), static_cast<qsizetype>(name.size())).toPercentEncoding("/")
            + "\r\n";
    return list;
}

/** Drops `names` on `target` as the toolkit does: enter, then drop, offered as text too. */
bool dropOn(QWidget *target, const std::vector<std::string> &names)
{
    QMimeData mime;
    mime.setData(QStringLiteral("text/uri-list"), uriList(names));
    mime.setData(QStringLiteral("text/plain"), uriList(names));
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    if (!enter.isAccepted())
        return false;
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    return drop.isAccepted();
}

/** The desktop's guidelines for the order of a box's buttons, as GNOME gives them. */
class GnomeButtonOrder : public QProxyStyle
{
public:
    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
        QStyleHintReturn *data) const override
    {
        if (hint == SH_DialogButtonLayout)
            return QDialogButtonBox::GnomeLayout;
        return QProxyStyle::styleHint(hint, option, widget, data);
    }
};

} // namespace

class ShellTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // ------------------------------------------------------------ the layout

    void theWindowIsBuiltFromTheLayout()
    {
        ShellWorld world;
        world.start();
        qtshell::MainWindow &w = *world.window;
        QCOMPARE(w.windowTitle(), QStringLiteral("Murelin V1.0"));
        QCOMPARE(w.size(), QSize(423, 333));
        QCOMPARE(w.minimumSize(), w.maximumSize()); // cannot be resized
        QVERIFY(!(w.windowFlags() & Qt::WindowMaximizeButtonHint));
        for (const core::layout::ControlLayout &c : core::layout::controls()) {
            QWidget *control = w.widget(c.name);
            QVERIFY2(control, c.name.data());
            QCOMPARE(control->geometry(), QRect(c.left, c.top, c.width, c.height));
            QCOMPARE(control->parentWidget(), c.parent.empty() ? &w : w.widget(c.parent));
            QCOMPARE(control->isVisibleTo(&w), c.visible);
        }
        QCOMPARE(world.get<QListView>("ListBox1")->selectionMode(),
            QAbstractItemView::ExtendedSelection);
        QCOMPARE(world.get<QPushButton>("BitBtn10")->text(), QStringLiteral("Down"));
        QCOMPARE(world.get<QWidget>("SpinEdit1")->toolTip(),
            QStringLiteral("How far to the right will the picture will appear"));
        auto *group = world.get<qtshell::RadioGroupWidget>("RadioGroup1");
        QCOMPARE(group->title(), QStringLiteral(" Placement "));
        QCOMPARE(group->button(2)->text(), QStringLiteral("Tiled"));
        const QImage icon = qtshell::MainWindow::programIcon();
        QCOMPARE(icon.size(), QSize(32, 32));
        QVERIFY(icon.colorCount() <= 16);
    }

    void onlyThePlacementGroupIsATabStop()
    {
        ShellWorld world;
        world.start();
        auto *group = world.get<qtshell::RadioGroupWidget>("RadioGroup1");
        for (int i = 0; i < 4; ++i)
            QVERIFY(group->button(i)->focusPolicy() & Qt::TabFocus);
        for (const char *name : {"ListBox1", "TimedDisplay", "SpinEdit1", "SpinEdit3", "BitBtn1",
                 "BitBtn5", "PreviewOn"})
            QCOMPARE(world.window->widget(name)->focusPolicy(), Qt::ClickFocus);
    }

    void fontMeReachesEveryControlButThePictures()
    {
        ShellWorld world;
        world.start();
        for (const char *name : {"BitBtn1", "BitBtn10", "Panel1", "Panel5", "Label1", "Label3",
                 "AutoQuit", "RadioGroup1", "ListBox1", "ListBox3", "SpinEdit3"}) {
            QCOMPARE(world.window->widget(name)->font().family(), QStringLiteral("SSERIFE.FON"));
            QCOMPARE(world.window->widget(name)->font().pointSize(), 8);
        }
        QVERIFY(world.window->widget("BitBtn1")->font().bold()); // bold stays bold
        QVERIFY(world.window->widget("Label1")->font().bold());
        QVERIFY(!world.window->widget("Image1")->testAttribute(Qt::WA_SetFont));
        QVERIFY(!world.window->widget("JPEGImage1")->testAttribute(Qt::WA_SetFont));
    }

    // ------------------------------------------------------------ binding, both ways

    void aClickOnACheckBoxRunsItsHandlerOnce()
    {
        ShellWorld world;
        TForm1 &form = world.start();
        auto *box = world.get<QCheckBox>("RandomPick");
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(5, 8));
        QVERIFY(form.RandomPick.checked() && form.RandomPickOn);
        // The program's change shows in the widget, and the toolkit's own signal for it does not
        // run the handler a second time.
        int clicks = 0;
        form.RandomPick.onClick = [&] { ++clicks; };
        form.RandomPick.setChecked(false);
        QVERIFY(!box->isChecked());
        QCOMPARE(clicks, 1);
        box->setChecked(false); // the toolkit sends nothing for an unchanged state
        QCOMPARE(clicks, 1);
    }

    void typedTextFocusLossAndProgramSetValues()
    {
        ShellWorld world;
        TForm1 &form = world.start();
        auto *spin = world.get<qtshell::SpinEditWidget>("SpinEdit1");
        auto *edit = spin->findChild<QLineEdit *>();
        QVERIFY(edit);
        edit->selectAll();
        QTest::keyClicks(edit, QStringLiteral("50000"));
        QCOMPARE(form.SpinEdit1.text(), std::string("50000"));
        QCOMPARE(form.SpinEdit1.value(), 32000);
        QCOMPARE(form.OriginX, 32000);
        QFocusEvent out(QEvent::FocusOut);
        QApplication::sendEvent(spin, &out);
        QCOMPARE(edit->text(), QStringLiteral("32000"));
        form.SpinEdit1.setValue(-5);
        QCOMPARE(edit->text(), QStringLiteral("0"));
        spin->stepBy(3); // the up button
        QCOMPARE(form.SpinEdit1.value(), 3);
        // The radio group: a click, and the program's index.
        auto *group = world.get<qtshell::RadioGroupWidget>("RadioGroup1");
        group->button(1)->click();
        QCOMPARE(form.RadioGroup1.itemIndex(), 1);
        QVERIFY(form.CenterOn);
        group->button(1)->click(); // the chosen item stays chosen
        QVERIFY(group->button(1)->isChecked());
        form.RadioGroup1.setItemIndex(-1);
        for (int i = 0; i < 4; ++i)
            QVERIFY(!group->button(i)->isChecked());
    }

    void theSelectionBothWays()
    {
        ShellWorld world;
        world.list(4, {"1", "1", "2", "1"});
        TForm1 &form = world.start();
        auto *view = world.get<QListView>("ListBox1");
        QItemSelectionModel *selection = view->selectionModel();
        QCOMPARE(selection->selectedRows().size(), 1);
        QCOMPARE(selection->currentIndex().row(), 0);
        // The user's click and Ctrl-click.
        const QRect row2 = view->visualRect(view->model()->index(2, 0));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, row2.center());
        QCOMPARE(form.ListBox1.selectedRows(), std::vector<int> {2});
        QCOMPARE(form.RadioGroup1.itemIndex(), 2); // ListBox1Click read the row's placement
        const QRect row3 = view->visualRect(view->model()->index(3, 0));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::ControlModifier, row3.center());
        QCOMPARE(form.ListBox1.selectedRows(), (std::vector<int> {2, 3}));
        QCOMPARE(form.ListBox1.itemIndex(), 3);
        // The program's Next shows in the view, and runs no click of the list.
        form.ListBox1.onClick = [] { QFAIL("the program's change ran the list's click"); };
        form.B1Click();
        QCOMPARE(selection->selectedRows().size(), 1);
        QCOMPARE(selection->selectedRows().front().row(), 3);
        QCOMPARE(selection->currentIndex().row(), 3);
    }

    void theDeleteKeyRemovesAndStillReachesTheList()
    {
        ShellWorld world;
        world.list(3);
        TForm1 &form = world.start();
        auto *view = world.get<QListView>("ListBox1");
        // Filters run last-installed first: this one sees what the window's filter lets pass.
        struct Seen : QObject
        {
            int keys = 0;
            bool eventFilter(QObject *, QEvent *event) override
            {
                keys += event->type() == QEvent::KeyPress
                    && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Delete;
                return false;
            }
        } seen;
        view->removeEventFilter(world.window.get());
        view->installEventFilter(&seen);
        view->installEventFilter(world.window.get());
        QTest::keyClick(view, Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(form.itemCount(), 2);
        QCOMPARE(seen.keys, 1);
        QTest::keyClick(view, Qt::Key_Backspace);
        QTest::keyClick(view, Qt::Key_D);
        QCOMPARE(form.itemCount(), 2);
    }

    // The toolkit moves the current item and the selection in separate steps; the program must
    // see only the whole change, or a click stores the clicked row's placement into the rows
    // selected before it. Then Remove's ReadOptions loads the new current entry's own placement.
    void aClickInTheListIsHandedOverWhole_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QStringList>("settings");
        QTest::addColumn<int>("mode");
        const QStringList kept {QStringLiteral("10|0"), QStringLiteral("3100|50")};
        QTest::newRow("click B, Remove") << QStringLiteral("click1 remove") << kept << 1;
        QTest::newRow("click B, Delete") << QStringLiteral("click1 delete") << kept << 1;
        QTest::newRow("Sort, click B, Remove")
            << QStringLiteral("sort click1 remove")
            << QStringList {QStringLiteral("3100|50"), QStringLiteral("10|0")} << 3;
        // A press on a selected row selects it alone only on release.
        QTest::newRow("click on one of three selected")
            << QStringLiteral("all click1")
            << QStringList {QStringLiteral("10|0"), QStringLiteral("20|0"),
                   QStringLiteral("3100|50")}
            << 2;
    }
    void aClickInTheListIsHandedOverWhole()
    {
        QFETCH(QString, steps);
        QFETCH(QStringList, settings);
        QFETCH(int, mode);
        ShellWorld world;
        world.writeList("/p/c.bmp\r\n10|0\r\n/p/B.bmp\r\n20|0\r\n/p/a.bmp\r\n3100|50\r\n");
        TForm1 &form = world.start({{"Index", "0"}});
        world.window->show();
        auto *view = world.get<QListView>("ListBox1");
        for (const QString &step : steps.split(u' ')) {
            if (step == QStringLiteral("sort"))
                QTest::mouseClick(world.get<QPushButton>("BitBtn6"), Qt::LeftButton);
            else if (step == QStringLiteral("remove"))
                QTest::mouseClick(world.get<QPushButton>("BitBtn8"), Qt::LeftButton);
            else if (step == QStringLiteral("delete"))
                QTest::keyClick(view, Qt::Key_Delete);
            else if (step == QStringLiteral("all"))
                form.ListBox1.setSelected(1, true), form.ListBox1.setSelected(2, true);
            else if (step == QStringLiteral("click1"))
                QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                    view->visualRect(view->model()->index(1, 0)).center());
        }
        QStringList stored;
        for (const std::string &s : form.ListBox3.items())
            stored << QString::fromStdString(s);
        QCOMPARE(stored, settings);
        auto *group = world.get<qtshell::RadioGroupWidget>("RadioGroup1");
        QVERIFY(group->button(mode)->isChecked());
    }

    // ------------------------------------------------------------ timers, for real

    void theChangeTimerTicksAndKeepsItsCount()
    {
        ShellWorld world;
        world.list(3);
        TForm1 &form = world.start({{"Index", "0"}, {"Timer", "1"}, {"TimedDisplay", "true"}});
        auto *timer = world.window->findChild<QTimer *>(QStringLiteral("Timer2"));
        QVERIFY(timer && timer->isActive());
        QTRY_COMPARE_WITH_TIMEOUT(world.calls.size(), size_t(2), 5000);
        QCOMPARE(world.calls[0].path, pathOf(1));
        form.SpinEdit3.setValue(10);
        QCOMPARE(timer->interval(), 10000);
        QTest::qWait(1500);
        form.SpinEdit3Change(); // the same interval: the count goes on
        QVERIFY2(
            timer->remainingTime() <= 9000, qPrintable(QString::number(timer->remainingTime())));
        form.TimedDisplay.setChecked(false);
        QVERIFY(!timer->isActive());
    }

    void ticksWhileARealBoxWaitsAreDropped()
    {
        ShellWorld world;
        world.list(3);
        // The preview on and the pictures missing: a box on every Next.
        TForm1 &form = world.start(
            {{"Index", "0"}, {"PreviewOn", "true"}, {"Timer", "1"}, {"TimedDisplay", "true"}});
        size_t callsWhileOpen = 0;
        onNextModal([&](QWidget *box) {
            QTimer::singleShot(2500, box, [&, box] {
                callsWhileOpen = world.calls.size();
                form.TimedDisplay.setChecked(false);
                static_cast<QDialog *>(box)->accept();
            });
        });
        form.B1Click(); // opens the first box and waits in it
        QCOMPARE(callsWhileOpen, size_t(1));
    }

    // ------------------------------------------------------------ boxes and dialogs

    void clearAllButtonsKeepTheirOrderWhateverTheDesktop()
    {
        ShellWorld world;
        world.start();
        QApplication::setStyle(new GnomeButtonOrder);
        QStringList order;
        onNextModal([&](QWidget *modal) {
            auto *box = qobject_cast<QMessageBox *>(modal);
            QList<QAbstractButton *> buttons = box->buttons();
            std::sort(buttons.begin(), buttons.end(), [](QAbstractButton *a, QAbstractButton *b) {
                return a->mapToGlobal(QPoint()).x() < b->mapToGlobal(QPoint()).x();
            });
            for (QAbstractButton *b : buttons)
                order << b->text();
            box->reject();
        });
        const core::MsgAnswer answer = world.window->messageBox({"Clear?", "Confirm",
            core::MsgIcon::Question, core::MsgButtons::YesNoCancel, core::MsgAnswer::Yes});
        QApplication::setStyle(QStringLiteral("fusion"));
        QCOMPARE(order,
            (QStringList {
                QStringLiteral("&Yes"), QStringLiteral("&No"), QStringLiteral("Cancel")}));
        QVERIFY(answer == core::MsgAnswer::Cancel);
    }

    void theAddDialogTakesTypedNamesAndNamesItsFilterOnce()
    {
        ShellWorld world;
        world.start();
        const std::string typed = world.dir.file("not there yet.bmp");
        QStringList filters;
        onNextModal([&](QWidget *modal) {
            auto *dialog = qobject_cast<QFileDialog *>(modal);
            QVERIFY(dialog);
            auto *combo = dialog->findChild<QComboBox *>(QStringLiteral("fileTypeCombo"));
            for (int i = 0; combo && i < combo->count(); ++i)
                filters << combo->itemText(i);
            dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))
                ->setText(QString::fromStdString(typed));
            // A dialog that refuses the name stays open: it is cancelled, and nothing is chosen.
            QTimer::singleShot(1000, dialog, [dialog] { dialog->reject(); });
            static_cast<QDialog *>(dialog)->accept();
        });
        const auto names = world.window->openDialog({"bmp", {{"*.bmp", "*.bmp"}}, true});
        QCOMPARE(filters, QStringList {QStringLiteral("*.bmp")});
        QCOMPARE(names, std::vector<std::string> {typed});
    }

    void anEndRequestClosesAWaitingBoxAndSaves()
    {
        ShellWorld world;
        world.list(1);
        TForm1 &form = world.start({{"PreviewOn", "true"}});
        onNextModal([&](QWidget *) { form.WMEndSession(); });
        form.buttonClick("BitBtn1"); // the preview's box: closed by the request, then the end
        QCOMPARE(world.endProcessCalls, 1);
        QCOMPARE(world.stored("Index"), std::string("0"));
        QVERIFY(!QApplication::activeModalWidget());
    }

    // ------------------------------------------------------------ the window, icon and drops

    void theIconShowsTheWindowWhereItWasStoredAndMinimisingHidesIt()
    {
        ShellWorld world;
        TForm1 &form = world.start({{"AutoQuit", "true"}, {"FLeft", "140"}, {"FTop", "90"}});
        qtshell::MainWindow &w = *world.window;
        QVERIFY(!w.isVisible());
        QVERIFY(w.trayIcon()->isShown());
        Q_EMIT w.trayIcon()->rightButtonDown();
        QVERIFY(w.isVisible());
        QCOMPARE(w.pos(), QPoint(140, 90));
        QVERIFY(!form.Timer1.running()); // FormShow ran
        w.setWindowState(w.windowState() | Qt::WindowMinimized);
        QVERIFY(!w.isVisible());
        QVERIFY(w.trayIcon()->isShown());
        Q_EMIT w.trayIcon()->rightButtonDown();
        QVERIFY(w.isVisible() && !w.isMinimized());
        w.close(); // the close box ends through the saving path
        QCOMPARE(world.endProcessCalls, 1);
        QCOMPARE(world.stored("FLeft"), std::string("140"));
        QVERIFY(!w.trayIcon()->isShown());
    }

    void theControlsAreBuiltWhenFirstShownAndShowWhatWasSetMeanwhile()
    {
        ShellWorld world;
        const std::string a = world.bitmap("a.bmp", 40, 30);
        const std::string b = world.bitmap("b.bmp", 20, 10);
        world.writeList(a + "\r\n1\r\n" + b + "\r\n1\r\n" + a + "\r\n3140|7\r\n");
        // LoadStart: Next at start, row 1, into the preview.
        TForm1 &form = world.start({{"Index", "0"}, {"RandomPick", "false"}, {"LoadStart", "true"},
            {"PreviewOn", "true"}});
        qtshell::MainWindow &w = *world.window;
        QVERIFY(!w.controlsBuilt());
        QCOMPARE(w.findChildren<QAbstractButton *>().size(), 0);
        form.RandomPick.setChecked(true);
        userSelects(form, {2});
        form.ReadOptions();

        Q_EMIT w.trayIcon()->rightButtonDown(); // the first show builds them
        QVERIFY(w.controlsBuilt() && w.isVisible());
        QVERIFY(world.get<QCheckBox>("RandomPick")->isChecked());
        QVERIFY(world.get<QCheckBox>("PreviewOn")->isChecked());
        QCOMPARE(world.get<QWidget>("SpinEdit1")->findChild<QLineEdit *>()->text(),
            QStringLiteral("140"));
        QVERIFY(world.get<qtshell::RadioGroupWidget>("RadioGroup1")->button(3)->isChecked());
        auto *list = world.get<QListView>("ListBox1");
        QCOMPARE(list->model()->rowCount(), 3);
        QCOMPARE(list->currentIndex().row(), 2);
        QCOMPARE(list->selectionModel()->selectedRows().size(), 1);
        QCOMPARE(dynamic_cast<qtshell::PanelWidget *>(w.widget("Panel5"))->caption(),
            QStringLiteral("3"));
        QCOMPARE(w.widget("BitBtn1")->font().family(), QStringLiteral("SSERIFE.FON"));
        // The picture loaded while hidden sits in its panel, shown, and the first show's own
        // preview of the current item has replaced it.
        auto *preview = dynamic_cast<TJPEGImage *>(w.widget("JPEGImage1"));
        QCOMPARE(preview->parentWidget(), w.widget("Panel2"));
        QVERIFY(preview->isVisible());
        const core::Picture &fitted = form.JPEGImage1;
        QCOMPARE(preview->geometry(),
            QRect(fitted.left(), fitted.top(), fitted.width(), fitted.height()));
        QCOMPARE(preview->picture().size(), QSize(40, 30));
    }

    void aDropOnAnyControlIsHandledOnceTheDropHasReturned()
    {
        ShellWorld world;
        TForm1 &form = world.start();
        const std::string latin1 = "/d/caf\xe9 100%.bmp";
        auto *field = world.window->widget("SpinEdit1")->findChild<QLineEdit *>();
        const QString text = field->text();
        QVERIFY(dropOn(field, {"/d/on-the-field.bmp"}));
        QCOMPARE(form.itemCount(), 0); // not yet: the drop event has only just returned
        QVERIFY(dropOn(world.get<QListView>("ListBox1")->viewport(), {latin1, "/d/b.jpg"}));
        QVERIFY(dropOn(world.window->widget("BitBtn1"), {world.bitmap("Sea.bmp", 321, 123)}));
        QTRY_COMPARE(form.itemCount(), 3);
        QCOMPARE(form.ListBox1.item(1), latin1);
        QCOMPARE(field->text(), text);
        // The real decoder drew the dropped bitmap once it became current.
        form.ListBox1.selectOnly(2);
        form.PreviewOn.setChecked(true);
        auto *preview = static_cast<TJPEGImage *>(world.window->widget("JPEGImage1"));
        QCOMPARE(preview->picture().size(), QSize(321, 123));
        QCOMPARE(preview->geometry(), QRect(2, 2, 86, 30));
        QCOMPARE(world.get<qtshell::PanelWidget>("Panel6")->caption(), QStringLiteral("321 X 123"));
        QMimeData mime;
        mime.setText(QStringLiteral("/d/text.bmp"));
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(world.window.get(), &enter);
        QVERIFY(!enter.isAccepted()); // other drags are refused
    }

    // Which folder holds the page (beside the program, else the installed data folder) is the
    // platform's lookup, run for real by the end-to-end tests of the build and of the package.
    void helpOpensTheProgramsHelpPageAtItsContents()
    {
        ShellWorld world;
        world.start();
        world.get<QPushButton>("BitBtn4")->click();
        const auto &opened = static_cast<TestWindow &>(*world.window).helpOpened;
        QCOMPARE(opened.size(), size_t(1));
        QCOMPARE(opened.front().first, platform::dataFilePath(platform::helpFileName()));
        QCOMPARE(opened.front().second, std::string("Contents"));
    }

    void theHelpPageShipsWithAContentsAnchorAndEveryControl()
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

QTEST_MAIN(ShellTest)
#include "shell_test.moc"
