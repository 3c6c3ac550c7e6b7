#include "window_fixture.h"

#include "jpegctl/JpgImg.h"

#include <QtTest>

class StartupTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void firstStartWithAnEmptyRegistry()
    {
        WindowWorld world;
        auto form = world.start();
        for (QCheckBox *box : {form->IconClick, form->RandomPick, form->LoadStart, form->AutoQuit,
                 form->TimedDisplay, form->PreviewOn})
            QVERIFY2(!box->isChecked(), qPrintable(box->objectName()));
        QCOMPARE(form->SpinEdit1->value(), 0);
        QCOMPARE(form->SpinEdit2->value(), 0);
        QCOMPARE(form->SpinEdit3->value(), 360);
        QCOMPARE(form->RadioGroup1->itemIndex(), 3);
        QVERIFY(form->StretchOn && form->LocationOn);
        QCOMPARE(form->pos(), QPoint(302, 198));
        QCOMPARE(form->itemCount(), 0);
        QCOMPARE(form->PictureIndex, -1);
        QCOMPARE(form->Panel5->caption(), QStringLiteral("0"));
        QVERIFY(!form->Timer1->isActive());
        QVERIFY(!form->Timer2->isActive());
        QVERIFY(!form->isVisible());
        QVERIFY(form->trayIcon() != nullptr);
        QVERIFY(world.messages.empty());
        // Reading created the key and stored nothing in it.
        QCOMPARE(world.stored("Timer"), std::string("<missing>"));
    }

    void storedValuesOfEveryKind()
    {
        WindowWorld world;
        world.store("IconClick", "true");
        world.store("RandomPick", "true");
        world.store("LoadStart", "false");
        world.store("AutoQuit", "TRUE"); // other capitals read as false
        world.store("TimedDisplay", "true");
        world.store("PreviewOn", "");
        world.store("X1", "120");
        world.store("Y1", "40000"); // clamped by the spin edit
        world.store("Timer", "0"); // shown as 1
        world.store("Option", "9"); // Location
        world.store("FLeft", "-20");
        world.store("FTop", "15");
        auto form = world.start();
        QVERIFY(form->IconClick->isChecked() && form->IconClickOn);
        QVERIFY(form->RandomPick->isChecked() && form->RandomPickOn);
        QVERIFY(!form->AutoQuit->isChecked() && !form->AutoQuitOn);
        QVERIFY(!form->Timer1->isActive());
        QVERIFY(form->TimedDisplay->isChecked());
        QVERIFY(form->Timer2->isActive());
        QCOMPARE(form->Timer2->interval(), 1000);
        QVERIFY(!form->PreviewOn->isChecked());
        QCOMPARE(form->SpinEdit1->value(), 120);
        QCOMPARE(form->OriginX, 120);
        QCOMPARE(form->SpinEdit2->value(), 32000);
        QCOMPARE(form->SpinEdit3->value(), 1);
        QCOMPARE(form->RadioGroup1->itemIndex(), 3);
        QCOMPARE(form->pos(), QPoint(-20, 15));
    }

    void optionBelowRangeLeavesNoItemChosen()
    {
        WindowWorld world;
        world.store("Option", "-7");
        auto form = world.start();
        QCOMPARE(form->RadioGroup1->itemIndex(), -1);
        for (int i = 0; i < 4; ++i)
            QVERIFY(!form->RadioGroup1->button(i)->isChecked());
    }

    void automaticExitIsArmed()
    {
        WindowWorld world;
        world.store("AutoQuit", "true");
        auto form = world.start();
        QVERIFY(form->Timer1->isActive());
        QCOMPARE(form->Timer1->interval(), 10000);
    }

    void indexIsBroughtIntoTheList_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("expected");
        QTest::addRow("-1 with entries") << "-1" << 3 << 0;
        QTest::addRow("5 with no entries") << "5" << 0 << -1;
        QTest::addRow("below -1") << "-9" << 3 << 0;
        QTest::addRow("past the end") << "7" << 3 << 2;
        QTest::addRow("at the end") << "3" << 3 << 2;
        QTest::addRow("valid") << "1" << 3 << 1;
    }
    void indexIsBroughtIntoTheList()
    {
        QFETCH(QString, stored);
        QFETCH(int, rows);
        QFETCH(int, expected);
        WindowWorld world;
        std::string list;
        for (int i = 0; i < rows; ++i)
            list += "/p/" + std::to_string(i) + ".bmp\r\n1" + std::to_string(i) + "|0\r\n";
        world.writeList(list);
        world.store("Index", stored.toStdString());
        auto form = world.start();
        QCOMPARE(form->PictureIndex, expected);
        QCOMPARE(form->Panel5->caption(), QString::number(rows));
        if (expected >= 0) {
            QCOMPARE(form->selectedRows(), std::vector<int> {expected});
            QCOMPARE(form->currentRow(), expected);
            // ReadOptions loaded the current entry's placement: Center, X = its number.
            QCOMPARE(form->RadioGroup1->itemIndex(), 1);
            QCOMPARE(form->SpinEdit1->value(), expected);
        }
    }

    void defaultPositionCentresOnTheMaximisedArea()
    {
        WindowWorld world;
        world.maximized = QSize(1920, 1050);
        world.outer = QSize(423, 333);
        auto form = world.start();
        QCOMPARE(form->pos(), QPoint(960 - 211, 525 - 176));
    }

    void fontMeFollowsTheDisplaysResolution_data()
    {
        QTest::addColumn<int>("ppi");
        QTest::addColumn<QString>("face");
        QTest::addColumn<int>("points");
        QTest::addRow("96") << 96 << "SSERIFE.FON" << 8;
        QTest::addRow("120") << 120 << "SERIFE.FON" << 6;
        QTest::addRow("144") << 144 << "SERIFE.FON" << 6;
    }
    void fontMeFollowsTheDisplaysResolution()
    {
        QFETCH(int, ppi);
        QFETCH(QString, face);
        QFETCH(int, points);
        WindowWorld world;
        world.pixelsPerInch = ppi;
        auto form = world.start();
        const QList<QWidget *> changed {form->BitBtn1, form->BitBtn10, form->Panel1, form->Panel5,
            form->Label1, form->Label3, form->AutoQuit, form->RandomPick, form->RadioGroup1,
            form->ListBox1, form->ListBox3, form->SpinEdit3};
        for (QWidget *w : changed) {
            QCOMPARE(w->font().family(), face);
            QCOMPARE(w->font().pointSize(), points);
        }
        // Bold stays bold.
        QVERIFY(form->BitBtn1->font().bold());
        QVERIFY(form->Label1->font().bold());
        // The pictures are left alone.
        QVERIFY(!form->Image1->testAttribute(Qt::WA_SetFont));
        QVERIFY(!form->JPEGImage1->testAttribute(Qt::WA_SetFont));
    }

    void errorsInStartUpAreShownAndTheRestStillHappens_data()
    {
        QTest::addColumn<bool>("dword");
        QTest::addColumn<QString>("message");
        QTest::addRow("not a number") << false << "'abc' is not a valid integer value";
        QTest::addRow("a dword") << true << "Invalid data type for 'X1'";
    }
    void errorsInStartUpAreShownAndTheRestStillHappens()
    {
        QFETCH(bool, dword);
        QFETCH(QString, message);
        WindowWorld world;
        if (dword)
            world.storeValue("X1", platform::RegValue {platform::RegDword, std::string(4, '\x05')});
        else
            world.store("X1", "abc");
        world.store("Y1", "7");
        world.store("AutoQuit", "true");
        world.writeList("/p/a.bmp\r\n00|0\r\n");
        auto form = world.start();
        QCOMPARE(world.messages.size(), size_t(1));
        QCOMPARE(QString::fromStdString(world.messages[0]), message);
        // The bad value left its control alone; every later step ran.
        QCOMPARE(form->SpinEdit1->value(), 0);
        QCOMPARE(form->SpinEdit2->value(), 0); // ReadOptions loaded 00|0 after Y1's 7
        QCOMPARE(form->itemCount(), 1);
        QVERIFY(form->trayIcon() != nullptr);
        QVERIFY(form->Timer1->isActive());
        QCOMPARE(form->BitBtn1->font().family(), QStringLiteral("SSERIFE.FON"));
    }

    void layoutHasEveryControlWhereTheDesignPutsIt()
    {
        WindowWorld world;
        auto form = world.start();
        QCOMPARE(form->windowTitle(), QStringLiteral("Murelin V1.0"));
        QCOMPARE(form->size(), QSize(423, 333));
        QCOMPARE(form->minimumSize(), form->maximumSize()); // cannot be resized
        QVERIFY(!(form->windowFlags() & Qt::WindowMaximizeButtonHint));
        QCOMPARE(form->ListBox1->geometry(), QRect(8, 8, 309, 249));
        QCOMPARE(form->ListBox1->selectionMode(), QAbstractItemView::ExtendedSelection);
        QCOMPARE(form->SpinEdit3->geometry(), QRect(25, 23, 60, 22));
        QCOMPARE(form->SpinEdit3->parentWidget(), form->Panel4);
        QCOMPARE(form->Panel5->parentWidget(), form->Panel3);
        QCOMPARE(form->BitBtn10->text(), QStringLiteral("Down"));
        QCOMPARE(form->BitBtn3->text(), QStringLiteral("Load Current"));
        QCOMPARE(form->SpinEdit1->toolTip(),
            QStringLiteral("How far to the right will the picture will appear"));
        QCOMPARE(form->RadioGroup1->title(), QStringLiteral(" Placement "));
        QCOMPARE(form->RadioGroup1->button(2)->text(), QStringLiteral("Tiled"));
        QVERIFY(!form->ListBox2->isVisibleTo(form.get()));
        QVERIFY(!form->ListBox3->isVisibleTo(form.get()));
        QVERIFY(!form->Image1->isVisibleTo(form.get()));
        QCOMPARE(form->ListBox1->focusPolicy(), Qt::ClickFocus);
        const QImage icon = TForm1::programIcon();
        QCOMPARE(icon.size(), QSize(32, 32));
        QVERIFY(icon.colorCount() <= 16);
    }
};

QTEST_MAIN(StartupTest)
#include "startup_test.moc"
