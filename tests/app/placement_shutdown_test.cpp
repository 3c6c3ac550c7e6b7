#include "window_fixture.h"

#include "platform/shell.h"

#include <QLineEdit>
#include <QtTest>

namespace {

std::string settingsOf(TForm1 &form, int row)
{
    return form.pictureList()->entry(row).settings;
}

/** A window with `rows` entries whose settings are given, row 0 current and selected. */
std::unique_ptr<TForm1> withEntries(WindowWorld &world, const std::vector<std::string> &settings)
{
    std::string list;
    for (size_t i = 0; i < settings.size(); ++i)
        list += "/p/" + std::to_string(i) + ".bmp\r\n" + settings[i] + "\r\n";
    world.writeList(list);
    return world.start();
}

} // namespace

class PlacementShutdownTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readOptionsRewritesTheCurrentEntryInNormalForm_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("y");
        QTest::addColumn<QString>("after");
        QTest::addRow("location") << "3100|50" << 3 << 100 << 50 << "3100|50";
        QTest::addRow("empty") << "" << 3 << 0 << 0 << "";
        QTest::addRow("no bar") << "2" << 2 << 0 << 2 << "20|2";
        QTest::addRow("bad mode") << "7100|50" << 3 << 100 << 50 << "3100|50";
        QTest::addRow("bad x") << "0abc|5" << 0 << 0 << 5 << "00|5";
        QTest::addRow("x clamped") << "340000|0" << 3 << 32000 << 0 << "332000|0";
        QTest::addRow("hexadecimal") << "1$1F|$10" << 1 << 31 << 16 << "131|16";
        QTest::addRow("negative") << "3-5|3" << 3 << 0 << 3 << "30|3";
    }
    void readOptionsRewritesTheCurrentEntryInNormalForm()
    {
        QFETCH(QString, stored);
        QFETCH(int, mode);
        QFETCH(int, x);
        QFETCH(int, y);
        QFETCH(QString, after);
        WindowWorld world;
        auto form = withEntries(world, {stored.toStdString()});
        QCOMPARE(form->RadioGroup1->itemIndex(), mode);
        QCOMPARE(form->SpinEdit1->value(), x);
        QCOMPARE(form->SpinEdit2->value(), y);
        QCOMPARE(form->OriginX, x);
        QCOMPARE(form->OriginY, y);
        // An empty string reads as the controls' start values, so nothing changes and
        // nothing is written back.
        QCOMPARE(QString::fromStdString(settingsOf(*form, 0)), after);
    }

    void changingThePlacementStoresIntoEverySelectedRowOnly()
    {
        WindowWorld world;
        auto form = withEntries(world, {"00|0", "10|20", "00|0", "30|0", "00|0"});
        form->SpinEdit1->setValue(10);
        form->SpinEdit2->setValue(20);
        form->selectOnly(1);
        form->setRowSelected(3, true);
        form->RadioGroup1->setItemIndex(2);
        QVERIFY(form->TiledOn && !form->StretchOn && !form->LocationOn);
        QCOMPARE(settingsOf(*form, 1), std::string("210|20"));
        QCOMPARE(settingsOf(*form, 3), std::string("210|20"));
        QCOMPARE(settingsOf(*form, 0), std::string("010|20")); // selected when X and Y changed
        QCOMPARE(settingsOf(*form, 2), std::string("00|0"));
        QCOMPARE(settingsOf(*form, 4), std::string("00|0"));
        form->RadioGroup1->setItemIndex(3);
        QVERIFY(form->StretchOn && form->LocationOn);
    }

    void readOptionsWritesNothingWhenNothingChanges()
    {
        WindowWorld world;
        auto form = withEntries(world, {"3100|50", "3100|50", "1|"});
        // Select every row; row 2's odd string must survive a ReadOptions of row 0.
        form->setRowSelected(1, true);
        form->setRowSelected(2, true);
        form->ReadOptions();
        QCOMPARE(settingsOf(*form, 2), std::string("1|"));
    }

    void closingSavesTheListAndAllThirteenSettings()
    {
        WindowWorld world;
        world.store("FLeft", "40");
        world.store("FTop", "30");
        world.store("Index", "2");
        world.store("Timer", "75");
        world.store("TimedDisplay", "true");
        world.store("PreviewOn", "true");
        world.store("IconClick", "true");
        world.store("LoadStart", "false");
        const std::string list
            = "/p/a.bmp\r\n00|0\r\n/p/caf\xe9.bmp\r\n10|0\r\n/p/c.bmp\r\n3100|50\r\n";
        world.writeList(list);
        {
            auto form = world.start();
            form->RandomPick->setChecked(true);
            form->close();
            QCOMPARE(world.endProcessCalls, 1);
        }
        QCOMPARE(world.listBytes(), list);
        QCOMPARE(world.stored("Index"), std::string("2"));
        QCOMPARE(world.stored("Timer"), std::string("75"));
        QCOMPARE(world.stored("X1"), std::string("100"));
        QCOMPARE(world.stored("Y1"), std::string("50"));
        QCOMPARE(world.stored("Option"), std::string("3"));
        QCOMPARE(world.stored("FLeft"), std::string("40"));
        QCOMPARE(world.stored("FTop"), std::string("30"));
        QCOMPARE(world.stored("AutoQuit"), std::string("false"));
        QCOMPARE(world.stored("RandomPick"), std::string("true"));
        QCOMPARE(world.stored("IconClick"), std::string("true"));
        QCOMPARE(world.stored("LoadStart"), std::string("false"));
        QCOMPARE(world.stored("TimedDisplay"), std::string("true"));
        QCOMPARE(world.stored("PreviewOn"), std::string("true"));

        // A restart finds everything again.
        auto again = world.start();
        QCOMPARE(again->itemCount(), 3);
        QCOMPARE(again->pictureList()->entry(1).path, std::string("/p/caf\xe9.bmp"));
        QCOMPARE(again->PictureIndex, 2);
        QCOMPARE(again->SpinEdit3->value(), 75);
        QVERIFY(again->RandomPick->isChecked());
        QCOMPARE(again->pos(), QPoint(40, 30));
    }

    void automaticExitWritesTheSettingsTwiceAndTheListOnce()
    {
        WindowWorld world;
        world.store("AutoQuit", "true");
        world.writeList("/p/a.bmp\r\n00|0\r\n");
        auto form = world.start();
        // Count the writes of "Index" and of the list file through the registry's file.
        int indexWrites = 0;
        struct CountingRegistry : platform::Registry
        {
            platform::Registry &inner;
            int &count;
            CountingRegistry(platform::Registry &r, int &c)
                : inner(r)
                , count(c)
            {
            }
            platform::RegRead read(std::string_view k, std::string_view n) override
            {
                return inner.read(k, n);
            }
            bool write(std::string_view k, std::string_view n, const platform::RegValue &v) override
            {
                if (n == "Index")
                    ++count;
                return inner.write(k, n, v);
            }
        } counting(world.registry, indexWrites);
        platform::setCurrentUserRegistry(&counting);
        ::unlink(world.listPath.c_str());
        form->Timer1Timer();
        QCOMPARE(indexWrites, 2);
        QCOMPARE(world.listBytes(), std::string("/p/a.bmp\r\n00|0\r\n"));
        QVERIFY(world.endProcessCalls >= 1);
        QVERIFY(!form->trayIcon()->isShown());
        platform::setCurrentUserRegistry(&world.registry);
    }

    void showingTheWindowCancelsTheAutomaticExit()
    {
        WindowWorld world;
        world.store("AutoQuit", "true");
        auto form = world.start();
        QVERIFY(form->Timer1->isActive());
        form->show();
        QVERIFY(!form->Timer1->isActive());
        form->hide();
        QVERIFY(!form->Timer1->isActive());
    }

    void anUnwritableListFileIsReportedAndTheSettingsAreStillSaved()
    {
        WindowWorld world;
        world.writeList("/p/old.bmp\r\n00|0\r\n");
        auto form = world.start();
        form->pictureList()->clear();
        // The list file's folder is a file: nothing can be created there.
        const std::string blocker = world.dir.file("blocker");
        platform::writeFileAtomically(blocker, "x");
        form = nullptr;
        TForm1::Environment env = world.environment();
        env.listFilePath = [blocker] { return blocker + "/MurelinAll.txt"; };
        TForm1 other(env);
        other.FormCreate();
        other.SpinEdit1->setValue(9);
        other.close();
        QCOMPARE(world.messages, std::vector<std::string> {"Unable to save filenames!"});
        QCOMPARE(world.stored("X1"), std::string("9"));
        QCOMPARE(world.listBytes(), std::string("/p/old.bmp\r\n00|0\r\n"));
    }

    void anEmptyListIsSavedAsAnEmptyFile()
    {
        WindowWorld world;
        auto form = world.start();
        form->close();
        std::string bytes = "not read";
        QVERIFY(platform::readWholeFile(world.listPath, bytes));
        QCOMPARE(bytes, std::string());
        QCOMPARE(world.stored("Index"), std::string("-1"));
    }

    void spinEditsClampWhatTheProgramSetsAndWhatLosesTheFocus()
    {
        WindowWorld world;
        auto form = world.start();
        QSignalSpy changes(form->SpinEdit1, &SpinEdit::valueChanged);
        form->SpinEdit1->setValue(-5);
        QCOMPARE(form->SpinEdit1->value(), 0);
        QCOMPARE(changes.count(), 0); // 0 to 0 is no change
        form->SpinEdit1->setValue(40000);
        QCOMPARE(form->SpinEdit1->value(), 32000);
        QCOMPARE(changes.count(), 1);
        form->SpinEdit1->setValue(32000);
        QCOMPARE(changes.count(), 1);
        // Typed text: held as typed, 0 when not a number, clamped on leaving.
        auto *edit = form->SpinEdit1->findChild<QLineEdit *>();
        QVERIFY(edit);
        edit->setText(QStringLiteral("50000"));
        QCOMPARE(form->SpinEdit1->value(), 50000);
        edit->setText(QStringLiteral("x"));
        QCOMPARE(form->SpinEdit1->value(), 0);
        edit->setText(QStringLiteral("50000"));
        QFocusEvent out(QEvent::FocusOut);
        QApplication::sendEvent(form->SpinEdit1, &out);
        QCOMPARE(form->SpinEdit1->value(), 32000);
        form->SpinEdit3->setValue(0);
        QCOMPARE(form->SpinEdit3->value(), 1);
        form->SpinEdit3->setValue(700000);
        QCOMPARE(form->SpinEdit3->value(), 604800);
    }

    void radioGroupFiresOnlyOnARealChange()
    {
        WindowWorld world;
        auto form = world.start();
        QSignalSpy clicks(form->RadioGroup1, &RadioGroup::itemClicked);
        form->RadioGroup1->setItemIndex(3);
        QCOMPARE(clicks.count(), 0);
        form->RadioGroup1->setItemIndex(12);
        QCOMPARE(clicks.count(), 0); // clamped to 3, unchanged
        form->RadioGroup1->button(1)->click();
        QCOMPARE(form->RadioGroup1->itemIndex(), 1);
        QCOMPARE(clicks.count(), 1);
        form->RadioGroup1->button(1)->click(); // the chosen item stays chosen
        QVERIFY(form->RadioGroup1->button(1)->isChecked());
        QCOMPARE(clicks.count(), 1);
        QVERIFY(form->CenterOn && !form->StretchOn);
    }
};

QTEST_MAIN(PlacementShutdownTest)
#include "placement_shutdown_test.moc"
