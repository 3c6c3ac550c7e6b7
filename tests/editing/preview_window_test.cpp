// The preview in the real window: what is opened, what is shown, how it is fitted.
#include "editing_support.h"

#include <QtTest>

class PreviewWindowTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_configHome;

    static std::unique_ptr<TForm1> previewing(
        EditingWorld &world, const std::vector<std::pair<std::string, std::string>> &entries)
    {
        world.store("PreviewOn", "true");
        auto form = world.startWith(entries);
        if (!form->PreviewEnabled)
            qWarning("the stored PreviewOn did not switch the preview on");
        return form;
    }

private Q_SLOTS:
    void initTestCase() { privateConfigHome(m_configHome); }

    void fitsThePictureAndShowsItsSize_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<QRect>("control");
        QTest::addColumn<QString>("caption");
        QTest::addRow("640 x 480") << 640 << 480 << QRect(2, 2, 86, 63) << "640 X 480";
        QTest::addRow("480 x 640") << 480 << 640 << QRect(22, 2, 46, 63) << "480 X 640";
        QTest::addRow("800 x 200") << 800 << 200 << QRect(2, 2, 86, 18) << "800 X 200";
        QTest::addRow("100 x 100") << 100 << 100 << QRect(2, 2, 86, 86) << "100 X 100";
        QTest::addRow("1024 x 768") << 1024 << 768 << QRect(2, 2, 86, 63) << "1024 X 768";
    }
    void fitsThePictureAndShowsItsSize()
    {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(QRect, control);
        QFETCH(QString, caption);
        EditingWorld world;
        auto form = previewing(world, {{world.bitmap("Sky.bmp", width, height), "00|0"}});
        QCOMPARE(form->Panel2->size(), QSize(90, 67));
        form->DisplayMe();
        QCOMPARE(world.messages, std::vector<std::string> {});
        QCOMPARE(form->JPEGImage1->picture().size(), QSize(width, height));
        QCOMPARE(form->JPEGImage1->geometry(), control);
        QCOMPARE(form->Panel6->caption(), caption);
    }

    void withoutAPictureOnlyTheLeftIsSet_data()
    {
        QTest::addColumn<QRect>("before");
        QTest::addColumn<QRect>("after");
        QTest::addRow("narrow") << QRect(30, 2, 46, 63) << QRect(22, 2, 46, 63);
        QTest::addRow("as built") << QRect(9, 2, 85, 63) << QRect(2, 2, 85, 63);
        QTest::addRow("wide") << QRect(0, 2, 86, 20) << QRect(2, 2, 86, 20);
    }
    void withoutAPictureOnlyTheLeftIsSet()
    {
        QFETCH(QRect, before);
        QFETCH(QRect, after);
        EditingWorld world;
        auto form = world.start();
        form->JPEGImage1->setPicture(QImage());
        form->JPEGImage1->setGeometry(before);
        form->CheckSize();
        QCOMPARE(form->JPEGImage1->geometry(), after);
    }

    void previewOffOpensNothing()
    {
        EditingWorld world;
        auto form = world.startWith(
            {{"/no/such/folder/Sky.bmp", "00|0"}, {world.bitmap("Sea.bmp", 640, 480), "00|0"}});
        QVERIFY(!form->PreviewEnabled);
        form->DisplayMe();
        form->selectOnly(1);
        form->DisplayMe();
        QCOMPARE(world.messages, std::vector<std::string> {});
        QVERIFY(form->JPEGImage1->picture().isNull());
        QCOMPARE(form->Panel6->caption(), QString());

        // Switching it on shows the current item at once.
        form->PreviewOn->setChecked(true);
        QVERIFY(form->PreviewEnabled);
        QCOMPARE(form->Panel6->caption(), QStringLiteral("640 X 480"));

        // Switching it off keeps what it showed.
        form->PreviewOn->setChecked(false);
        QVERIFY(!form->PreviewEnabled);
        form->selectOnly(0);
        form->DisplayMe();
        QCOMPARE(world.messages, std::vector<std::string> {});
        QCOMPARE(form->Panel6->caption(), QStringLiteral("640 X 480"));
        QCOMPARE(form->JPEGImage1->picture().size(), QSize(640, 480));
    }

    void aMissingFileIsReportedWhateverItsName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addRow("jpeg") << "Sky.jpg";
        QTest::addRow("bitmap") << "Sky.bmp";
        QTest::addRow("no extension") << "Sky";
    }
    void aMissingFileIsReportedWhateverItsName()
    {
        QFETCH(QString, name);
        EditingWorld world;
        auto form = previewing(world,
            {{world.bitmap("Sea.bmp", 800, 200), "00|0"},
                {world.dir.file(name.toStdString()), "00|0"}});
        form->DisplayMe();
        form->selectOnly(1);
        form->DisplayMe();
        QCOMPARE(world.messages, std::vector<std::string> {UnableToLoad});
        QCOMPARE(world.requests.at(0).caption, std::string(murelin::ApplicationTitle));
        QVERIFY(world.requests.at(0).buttons == murelin::MsgButtons::Ok);
        QCOMPARE(form->Panel6->caption(), QStringLiteral("800 X 200"));
        QCOMPARE(form->JPEGImage1->geometry(), QRect(2, 2, 86, 18));
    }

    void aFolderIsNoFileToOpen()
    {
        EditingWorld world;
        const std::string folder = world.dir.file("Holiday.bmp");
        QVERIFY(QDir().mkpath(QString::fromStdString(folder)));
        auto form = previewing(world, {{folder, "00|0"}});
        form->DisplayMe();
        QCOMPARE(world.messages, std::vector<std::string> {UnableToLoad});
    }

    void onlyNamesEndingInBmpArePreviewed_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("shown");
        QTest::addRow("Sky.bmp") << "Sky.bmp" << true;
        QTest::addRow("Sky.Bmp") << "Sky.Bmp" << true;
        QTest::addRow("SKY.BMP") << "SKY.BMP" << true;
        QTest::addRow("no dot") << "Skybmp" << true;
        QTest::addRow("Sky.jpg") << "Sky.jpg" << false;
        QTest::addRow("Sky.bmp.txt") << "Sky.bmp.txt" << false;
    }
    void onlyNamesEndingInBmpArePreviewed()
    {
        QFETCH(QString, name);
        QFETCH(bool, shown);
        EditingWorld world;
        // Every second file holds a bitmap whatever its name: the name alone decides.
        auto form = previewing(world,
            {{world.bitmap("First.bmp", 640, 480), "00|0"},
                {world.bitmap(name.toStdString(), 100, 100), "00|0"}});
        form->DisplayMe();
        form->selectOnly(1);
        form->DisplayMe();
        QCOMPARE(world.messages, std::vector<std::string> {});
        QCOMPARE(form->Panel6->caption(),
            shown ? QStringLiteral("100 X 100") : QStringLiteral("640 X 480"));
        QCOMPARE(form->JPEGImage1->picture().size(), shown ? QSize(100, 100) : QSize(640, 480));
        QCOMPARE(form->JPEGImage1->geometry(), shown ? QRect(2, 2, 86, 86) : QRect(2, 2, 86, 63));
    }

    void aBrokenBitmapIsReportedAndThePictureStays()
    {
        EditingWorld world;
        auto form = previewing(world,
            {{world.bitmap("Good.bmp", 480, 640), "00|0"},
                {world.file("Broken.bmp", "BM this is no bitmap at all"), "00|0"}});
        form->DisplayMe();
        form->selectOnly(1);
        QVERIFY(!murelin::dispatch(form.get(), [&] { form->DisplayMe(); }));
        QCOMPARE(world.messages.size(), size_t {1});
        QCOMPARE(world.messages[0], std::string("Bitmap image is not valid"));
        QCOMPARE(form->JPEGImage1->picture().size(), QSize(480, 640));
        QCOMPARE(form->Panel6->caption(), QStringLiteral("480 X 640"));
        QCOMPARE(form->JPEGImage1->geometry(), QRect(22, 2, 46, 63));
    }

    void aBrokenBitmapEndsTheCommandThatShowsIt()
    {
        // Add shows the count before the preview: the count is right, the error reported.
        EditingWorld world;
        auto form = previewing(world, {});
        world.chosen = {world.file("Broken.BMP", std::string(200, 'x'))};
        form->BitBtn7->click();
        QCOMPARE(form->Panel5->caption(), QStringLiteral("1"));
        QCOMPARE(world.messages, std::vector<std::string> {"Bitmap image is not valid"});
        QVERIFY(form->JPEGImage1->picture().isNull());
    }

    void anEmptyListShowsNothing()
    {
        EditingWorld world;
        auto form = previewing(world, {});
        form->JPEGImage1->setGeometry(9, 2, 85, 63);
        form->DisplayMe();
        QCOMPARE(world.messages, std::vector<std::string> {});
        QCOMPARE(form->JPEGImage1->geometry(), QRect(9, 2, 85, 63));
    }

    void clearAllLeavesThePreview()
    {
        EditingWorld world;
        auto form = previewing(world, {{world.bitmap("Sea.bmp", 480, 640), "00|0"}});
        form->DisplayMe();
        world.answer = murelin::MsgAnswer::Yes;
        form->BitBtn5->click();
        QCOMPARE(form->itemCount(), 0);
        QCOMPARE(form->Panel6->caption(), QStringLiteral("480 X 640"));
        QCOMPARE(form->JPEGImage1->picture().size(), QSize(480, 640));
        QCOMPARE(form->JPEGImage1->geometry(), QRect(22, 2, 46, 63));
    }
};

QTEST_MAIN(PreviewWindowTest)
#include "preview_window_test.moc"
