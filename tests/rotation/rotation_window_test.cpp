// Next, Prev, Load Current, the random pick and the change timer through the real window, with
// the wallpaper call recorded together with the desktop values it would read.
#include "rotation_world.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QtTest>

#include <algorithm>

class RotationWindowTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // ------------------------------------------------------------ Next and Prev

    void nextAndPrev_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<std::vector<int>>("selected");
        QTest::addColumn<bool>("forward");
        QTest::addColumn<int>("expected");
        QTest::addRow("next from the last wraps") << 3 << std::vector<int> {2} << true << 0;
        QTest::addRow("prev from the first wraps") << 3 << std::vector<int> {0} << false << 2;
        QTest::addRow("next in the middle") << 3 << std::vector<int> {1} << true << 2;
        QTest::addRow("list of one, next") << 1 << std::vector<int> {0} << true << 0;
        QTest::addRow("list of one, prev") << 1 << std::vector<int> {0} << false << 0;
        QTest::addRow("rows 1 and 3, next") << 5 << std::vector<int> {1, 3} << true << 2;
        QTest::addRow("rows 1 and 3, prev") << 5 << std::vector<int> {1, 3} << false << 0;
        QTest::addRow("nothing selected, next") << 4 << std::vector<int> {} << true << 1;
        QTest::addRow("nothing selected, prev") << 4 << std::vector<int> {} << false << 3;
    }
    void nextAndPrev()
    {
        QFETCH(int, rows);
        QFETCH(std::vector<int>, selected);
        QFETCH(bool, forward);
        QFETCH(int, expected);
        RotationWorld world;
        // Each row has its own placement, so the values show which row's placement was read.
        world.list(rows, {"0", "1", "2", "3100|50", "3"});
        auto form = world.startForm();
        userSelects(*form, selected);
        if (forward)
            form->BitBtn1->click();
        else
            form->BitBtn2->click();
        QCOMPARE(form->PictureIndex, expected);
        QCOMPARE(form->selectedRows(), std::vector<int> {expected});
        QCOMPARE(form->currentRow(), expected);
        const std::string p = pathOf(expected);
        const std::vector<std::vector<Applied>> byRow = {
            {{p, "0", "2", "0", "0"}},
            {{p, "0", "0", "0", "0"}},
            {{p, "1", "0", "0", "0"}},
            {{p, "0", "2", "0", "0"}, {p, "0", "0", "100", "50"}},
            {{p, "0", "2", "0", "0"}, {p, "0", "0", "0", "0"}},
        };
        const auto &want = byRow[static_cast<size_t>(expected)];
        QVERIFY2(world.calls == want, describe(world.calls).c_str());
        QVERIFY(world.messages.empty());
    }

    void nextAgainAndAgainGoesRoundTheList()
    {
        RotationWorld world;
        world.list(3);
        world.store("Index", "0");
        auto form = world.startForm();
        for (int i = 0; i < 4; ++i)
            form->B1Click();
        std::vector<std::string> paths;
        for (const Applied &a : world.calls)
            paths.push_back(a.path);
        QCOMPARE(paths, (std::vector<std::string> {pathOf(1), pathOf(2), pathOf(0), pathOf(1)}));
    }

    void emptyListTouchesNeitherRegistryNorDesktop()
    {
        RotationWorld world;
        world.store("TimedDisplay", "true");
        world.store("Timer", "1");
        auto form = world.startForm();
        form->B1Click();
        form->B5Click();
        form->B7Click();
        form->Timer2Timer();
        // A real tick of the running timer as well.
        QVERIFY(form->Timer2->isActive());
        QTest::qWait(1300);
        QCOMPARE(form->PictureIndex, -1);
        QVERIFY(world.calls.empty());
        QCOMPARE(world.desk("TileWallpaper"), std::string("<missing>"));
        QCOMPARE(world.desk("WallpaperStyle"), std::string("<missing>"));
        QVERIFY(world.messages.empty());
    }

    void clickInTheListMovesNothing()
    {
        RotationWorld world;
        world.list(4, {"1", "1", "2", "1"});
        auto form = world.startForm();
        userSelects(*form, {2});
        QCOMPARE(form->PictureIndex, 0);
        QVERIFY(world.calls.empty());
        QCOMPARE(form->RadioGroup1->itemIndex(), 2); // the clicked row's placement shows
        form->B1Click();
        QCOMPARE(form->PictureIndex, 3); // Next goes on from the clicked row
    }

    // ------------------------------------------------------------ Load Current

    void loadCurrent_data()
    {
        QTest::addColumn<std::vector<int>>("selected");
        QTest::addColumn<int>("expected");
        QTest::addRow("rows 2 and 5") << std::vector<int> {2, 5} << 2;
        QTest::addRow("rows 5 and 2, current 5") << std::vector<int> {5, 2} << 2;
        QTest::addRow("nothing selected") << std::vector<int> {} << 0;
    }
    void loadCurrent()
    {
        QFETCH(std::vector<int>, selected);
        QFETCH(int, expected);
        RotationWorld world;
        world.list(6, {"2", "0", "3100|50", "1", "1", "0"});
        world.store("Index", "4");
        auto form = world.startForm();
        userSelects(*form, selected);
        form->BitBtn3->click();
        QCOMPARE(form->PictureIndex, expected);
        QCOMPARE(form->selectedRows(), std::vector<int> {expected});
        QCOMPARE(form->currentRow(), expected);
        const std::string p = pathOf(expected);
        std::vector<Applied> want;
        if (expected == 2)
            want = {{p, "0", "2", "0", "0"}, {p, "0", "0", "100", "50"}};
        else
            want = {{p, "1", "0", "0", "0"}};
        QVERIFY2(world.calls == want, describe(world.calls).c_str());
        // Nothing of the program's own settings is written.
        QCOMPARE(world.stored("Index"), std::string("4"));
    }

    void loadCurrentOnAnEmptyList()
    {
        RotationWorld world;
        auto form = world.startForm();
        form->B7Click();
        QVERIFY(world.calls.empty());
        QCOMPARE(form->PictureIndex, -1);
    }

    void failedDesktopWriteIsShownAndEndsTheCommand()
    {
        RotationWorld world;
        world.list(2);
        auto form = world.startForm();
        // A registry that refuses every write, swapped in after start-up.
        struct Refusing : platform::Registry
        {
            platform::RegRead read(std::string_view, std::string_view) override { return {}; }
            bool write(std::string_view, std::string_view, const platform::RegValue &) override
            {
                return false;
            }
        } refusing;
        platform::setCurrentUserRegistry(&refusing);
        form->BitBtn1->click();
        platform::setCurrentUserRegistry(&world.registry);
        QVERIFY(world.calls.empty());
        QCOMPARE(
            world.messages, std::vector<std::string> {"Failed to set data for 'TileWallpaper'"});
        QCOMPARE(form->PictureIndex, 1); // the list moved before the desktop was written
    }

    // ------------------------------------------------------------ the random pick

    void randomPick_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<uint>("clock");
        QTest::addColumn<bool>("forward");
        QTest::addColumn<int>("expected");
        // Drawn rows worked out by hand for these readings: 1000 ms gives 1 of 5, the last
        // millisecond of the day 3 of 5.
        QTest::addRow("1000 ms, next") << 5 << 1000u << true << 2;
        QTest::addRow("1000 ms, prev") << 5 << 1000u << false << 0;
        QTest::addRow("end of day, next") << 5 << 86399999u << true << 4;
        QTest::addRow("end of day, prev") << 5 << 86399999u << false << 2;
        QTest::addRow("midnight, prev") << 5 << 0u << false << 4;
        QTest::addRow("list of one") << 1 << 86399999u << true << 0;
    }
    void randomPick()
    {
        QFETCH(int, rows);
        QFETCH(uint, clock);
        QFETCH(bool, forward);
        QFETCH(int, expected);
        RotationWorld world;
        world.list(rows);
        world.store("RandomPick", "true");
        world.store("Index", std::to_string(rows - 1));
        auto form = world.startForm();
        world.clock = clock;
        if (forward)
            form->B1Click();
        else
            form->B5Click();
        QCOMPARE(form->PictureIndex, expected);
        QCOMPARE(form->selectedRows(), std::vector<int> {expected});
        QCOMPARE(world.calls.size(), size_t(1));
        QCOMPARE(world.calls.front().path, pathOf(expected));
    }

    void randomPickCanRepeatThePicture()
    {
        RotationWorld world;
        world.list(5);
        world.store("RandomPick", "true");
        world.store("Index", "2");
        auto form = world.startForm();
        world.clock = 1000; // draws 1, so Next lays row 2 again
        form->B1Click();
        QCOMPARE(form->PictureIndex, 2);
    }

    // ------------------------------------------------------------ the change timer

    void timerIntervalFollowsTheSeconds_data()
    {
        QTest::addColumn<int>("seconds");
        QTest::addColumn<int>("interval");
        QTest::addRow("one second") << 1 << 1000;
        QTest::addRow("default") << 360 << 360000;
        QTest::addRow("seven days") << 604800 << 604800000;
    }
    void timerIntervalFollowsTheSeconds()
    {
        QFETCH(int, seconds);
        QFETCH(int, interval);
        RotationWorld world;
        world.store("Timer", std::to_string(seconds));
        world.store("TimedDisplay", "true");
        auto form = world.startForm();
        QVERIFY(form->Timer2->isActive());
        QCOMPARE(form->Timer2->interval(), interval);
    }

    void timerRestartRules()
    {
        RotationWorld world;
        world.list(3);
        auto form = world.startForm();
        form->SpinEdit3->setValue(10);
        QVERIFY(!form->Timer2->isActive()); // a new interval does not start the timer
        QCOMPARE(form->Timer2->interval(), 10000);
        form->TimedDisplay->setChecked(true);
        QVERIFY(form->Timer2->isActive());
        QTest::qWait(1500);
        // The same interval changes nothing: the count goes on.
        form->SpinEdit3Change();
        QVERIFY2(form->Timer2->remainingTime() <= 9000,
            qPrintable(QString::number(form->Timer2->remainingTime())));
        // A different one restarts it from zero.
        form->SpinEdit3->setValue(20);
        QVERIFY(form->Timer2->isActive());
        QVERIFY(form->Timer2->remainingTime() > 19000);
        QTest::qWait(1500);
        // Unchecking stops it and keeps the interval; checking again starts from zero.
        form->TimedDisplay->setChecked(false);
        QVERIFY(!form->Timer2->isActive());
        QCOMPARE(form->Timer2->interval(), 20000);
        form->TimedDisplay->setChecked(true);
        QVERIFY(form->Timer2->remainingTime() > 19000);
        QVERIFY(world.calls.empty());
    }

    void everyTickRunsNext()
    {
        RotationWorld world;
        world.list(3);
        world.store("Index", "0");
        world.store("Timer", "1");
        world.store("TimedDisplay", "true");
        auto form = world.startForm();
        QTRY_COMPARE_WITH_TIMEOUT(world.calls.size(), size_t(2), 5000);
        QCOMPARE(world.calls[0].path, pathOf(1));
        QCOMPARE(world.calls[1].path, pathOf(2));
        QVERIFY(form->Timer2->isActive());
    }

    void ticksWhileAMessageBoxWaitsAreDropped()
    {
        // The real message box this time: its own event loop runs while it waits, and the
        // running timer ticks into it. A missing picture with the preview on gives a box on
        // every Next.
        RotationWorld world;
        murelin::setMessageBoxHandler({});
        world.list(3);
        world.store("Index", "0");
        world.store("PreviewOn", "true");
        world.store("Timer", "1");
        world.store("TimedDisplay", "true");
        auto form = world.startForm();
        QVERIFY(form->Timer2->isActive());
        int boxesSeen = 0;
        size_t callsWhileOpen = 0;
        QElapsedTimer open;
        QTimer closer;
        closer.setInterval(50);
        connect(&closer, &QTimer::timeout, [&] {
            QWidget *modal = QApplication::activeModalWidget();
            if (!modal)
                return;
            if (!open.isValid()) {
                open.start();
                ++boxesSeen;
            }
            // Every box we see counts; close the first after three ticks' time.
            if (open.elapsed() > 3200) {
                callsWhileOpen = world.calls.size();
                const QWidgetList windows = QApplication::topLevelWidgets();
                boxesSeen = static_cast<int>(std::count_if(windows.begin(), windows.end(),
                    [](QWidget *w) { return qobject_cast<QMessageBox *>(w) && w->isVisible(); }));
                form->TimedDisplay->setChecked(false);
                static_cast<QDialog *>(modal)->accept();
            }
        });
        closer.start();
        form->B1Click(); // opens the first box and waits in it
        QCOMPARE(boxesSeen, 1);
        QCOMPARE(callsWhileOpen, size_t(1)); // only the Next that opened the box
        QVERIFY(!form->Timer2->isActive());
        murelin::setMessageBoxHandler(
            [](const murelin::MessageRequest &) { return murelin::MsgAnswer::Ok; });
    }

    // ------------------------------------------------------------ Load on Start

    void loadOnStartLaysTheNextPicture_data()
    {
        QTest::addColumn<QString>("loadStart");
        QTest::addColumn<int>("calls");
        QTest::addRow("on") << "true" << 1;
        QTest::addRow("off") << "false" << 0;
        QTest::addRow("other capitals") << "True" << 0;
    }
    void loadOnStartLaysTheNextPicture()
    {
        QFETCH(QString, loadStart);
        QFETCH(int, calls);
        RotationWorld world;
        world.list(3, {"1", "2", "1"});
        world.store("Index", "0");
        world.store("LoadStart", loadStart.toStdString());
        auto form = world.startForm();
        QCOMPARE(world.calls.size(), size_t(calls));
        if (calls == 1) {
            QVERIFY2((world.calls.front() == Applied {pathOf(1), "1", "0", "0", "0"}),
                describe(world.calls).c_str());
            QCOMPARE(form->PictureIndex, 1);
        }
        QVERIFY(!form->isVisible());
    }
};

QTEST_MAIN(RotationWindowTest)
#include "rotation_window_test.moc"
