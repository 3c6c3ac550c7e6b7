// Files dropped on the window, as the toolkit delivers a drop.
#include "editing_support.h"

#include <QAbstractSpinBox>
#include <QLineEdit>
#include <QMimeData>
#include <QtTest>

namespace {

/** A text/uri-list of local files, each name percent-encoded byte for byte. */
QByteArray uriList(const std::vector<std::string> &names)
{
    QByteArray list;
    for (const std::string &name : names) {
        list += "file://";
        list += QByteArray(name.data(), static_cast<qsizetype>(name.size())).toPercentEncoding("/");
        list += "\r\n";
    }
    return list;
}

/**
 * Drops `names` on `target` the way the toolkit does: enter, then drop. `asTextToo` offers
 * the names as plain text besides, as many file managers do.
 */
bool dropOn(QWidget *target, const std::vector<std::string> &names, bool asTextToo = false)
{
    QMimeData mime;
    mime.setData(QStringLiteral("text/uri-list"), uriList(names));
    if (asTextToo)
        mime.setData(QStringLiteral("text/plain"), uriList(names));
    const QPointF at(5, 5);
    QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    if (!enter.isAccepted())
        return false;
    QDropEvent drop(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    return drop.isAccepted();
}

std::vector<std::string> paths(const TForm1 &form)
{
    std::vector<std::string> out;
    for (const picturelist::PictureEntry &e : form.pictureList()->entries())
        out.push_back(e.path);
    return out;
}

} // namespace

class DropTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_configHome;

private Q_SLOTS:
    void initTestCase() { privateConfigHome(m_configHome); }

    void bitmapsOntoAnEmptyList()
    {
        EditingWorld world;
        auto form = world.start();
        form->RadioGroup1->setItemIndex(3);
        form->SpinEdit1->setValue(100);
        form->SpinEdit2->setValue(50);
        QVERIFY(dropOn(form.get(), {"/d/A.bmp", "/d/B.jpg", "/d/C.BMP"}));
        QCOMPARE(listState(*form),
            QStringLiteral("/d/A.bmp=3100|50, /d/C.BMP=3100|50 | index 0 | selected 0 | current 0"
                           " | count 2"));
    }

    void oneOntoAListOfFour()
    {
        EditingWorld world;
        auto form = world.startWith(numberedEntries(4), 2);
        // What a new entry gets, set with no row selected so that row 2 keeps Location.
        form->setRowSelected(2, false);
        form->RadioGroup1->setItemIndex(1);
        QCOMPARE(form->pictureList()->entry(2).settings, std::string("320|2"));
        QVERIFY(dropOn(form.get(), {"/d/new.bMp"}));
        QCOMPARE(form->itemCount(), 5);
        QCOMPARE(form->pictureList()->entry(4).path, std::string("/d/new.bMp"));
        QCOMPARE(form->pictureList()->entry(4).settings, std::string("120|2"));
        QCOMPARE(form->PictureIndex, 2);
        QCOMPARE(form->selectedRows(), std::vector<int> {2});
        QCOMPARE(form->currentRow(), 2);
        QCOMPARE(form->Panel5->caption(), QStringLiteral("5"));
        // The controls are back on row 2's placement.
        QCOMPARE(controls(*form), QStringLiteral("3 20 2"));
    }

    void onlyJpegsChangeNothingButSelectionAndPreview()
    {
        EditingWorld world;
        world.store("PreviewOn", "true");
        auto form
            = world.startWith({{"/p/0.bmp", "00|0"}, {world.bitmap("Sea.bmp", 800, 200), "10|0"},
                                  {"/p/2.bmp", "20|0"}},
                1);
        form->setRowSelected(0, true);
        form->setRowSelected(2, true);
        form->setCurrentRow(2);
        const auto before = form->pictureList()->entries();
        QCOMPARE(form->Panel6->caption(), QString());
        QVERIFY(dropOn(form.get(), {"/d/a.jpg", "/d/b.JPG", "/d/bmp.png"}));
        QVERIFY(form->pictureList()->entries() == before);
        QCOMPARE(form->selectedRows(), std::vector<int> {1});
        QCOMPARE(form->currentRow(), 1);
        QCOMPARE(form->Panel6->caption(), QStringLiteral("800 X 200"));
        QCOMPARE(world.messages, std::vector<std::string> {});
    }

    void nothingAcceptedOntoAnEmptyList()
    {
        EditingWorld world;
        auto form = world.start();
        QVERIFY(dropOn(form.get(), {"/d/a.jpg"}));
        QCOMPARE(
            listState(*form), QStringLiteral(" | index -1 | selected  | current -1 | count 0"));
        QCOMPARE(world.messages, std::vector<std::string> {});
    }

    void longNamesStayWhole()
    {
        // A real file over 300 characters down, previewed from its stored name.
        EditingWorld world;
        world.store("PreviewOn", "true");
        auto form = world.start();
        std::string folder = world.dir.path();
        while (folder.size() < 300)
            folder += "/" + std::string(60, 'f');
        QVERIFY(QDir().mkpath(QString::fromStdString(folder)));
        const std::string name = folder + "/Long picture.bmp";
        QImage image(321, 123, QImage::Format_RGB32);
        image.fill(Qt::red);
        QVERIFY(image.save(QString::fromStdString(name), "BMP"));
        QVERIFY(name.size() > 300);
        QVERIFY(dropOn(form.get(), {name}));
        QCOMPARE(paths(*form), std::vector<std::string> {name});
        QCOMPARE(world.messages, std::vector<std::string> {});
        QCOMPARE(form->Panel6->caption(), QStringLiteral("321 X 123"));
    }

    void namesThatAreNoTextArriveAsBytes()
    {
        EditingWorld world;
        auto form = world.start();
        const std::string latin1 = "/d/caf\xe9 100%.bmp";
        const std::string spaced = "/d/a b#c?.BMP";
        QVERIFY(dropOn(form.get(), {latin1, spaced}));
        QCOMPARE(paths(*form), (std::vector<std::string> {latin1, spaced}));
    }

    void aDropOnAnyControlIsTheWindows()
    {
        // Files dropped on any control join the list; no control takes them as its own
        // text, even when the drag offers the names as text too.
        EditingWorld world;
        auto form = world.startWith(numberedEntries(1), 0);
        QLineEdit *field = form->SpinEdit1->findChild<QLineEdit *>();
        QVERIFY(field);
        const QString text = field->text();
        QVERIFY(dropOn(field, {"/d/on-the-field.bmp"}, true));
        QVERIFY(dropOn(form->ListBox1->viewport(), {"/d/on-the-list.bmp"}, true));
        QVERIFY(dropOn(form->BitBtn1, {"/d/on-a-button.bmp"}, true));
        QCOMPARE(paths(*form),
            (std::vector<std::string> {
                "/p/0.bmp", "/d/on-the-field.bmp", "/d/on-the-list.bmp", "/d/on-a-button.bmp"}));
        QCOMPARE(field->text(), text);
    }

    void eachDropOnce()
    {
        EditingWorld world;
        auto form = world.start();
        QVERIFY(dropOn(form.get(), {"/d/1.bmp"}));
        QVERIFY(dropOn(form.get(), {"/d/2.bmp", "/d/1.bmp"}));
        QCOMPARE(paths(*form), (std::vector<std::string> {"/d/1.bmp", "/d/2.bmp", "/d/1.bmp"}));
    }

    void otherDragsAreRefused()
    {
        EditingWorld world;
        auto form = world.start();
        QMimeData mime;
        mime.setText(QStringLiteral("/d/text.bmp"));
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(form.get(), &enter);
        QVERIFY(!enter.isAccepted());
        QCOMPARE(form->itemCount(), 0);
    }
};

QTEST_MAIN(DropTest)
#include "drop_test.moc"
