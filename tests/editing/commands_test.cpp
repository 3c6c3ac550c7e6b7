// Add, Remove, Clear All, Sort, Up, Down and the Delete key, through the window's buttons.
#include "editing_support.h"

#include "picturelist/settings_string.h"

#include <QtTest>

namespace {

const std::vector<std::pair<std::string, std::string>> FiveEntries = numberedEntries(5);

/** The state listState gives for entries, current picture, selection and count. */
QString expectedState(const std::vector<std::pair<std::string, std::string>> &entries, int index,
    const QString &selected, int current)
{
    QStringList parts;
    for (const auto &[path, settings] : entries)
        parts << QString::fromStdString(path) + u'=' + QString::fromStdString(settings);
    return parts.join(QStringLiteral(", ")) + QStringLiteral(" | index ") + QString::number(index)
        + QStringLiteral(" | selected ") + selected + QStringLiteral(" | current ")
        + QString::number(current) + QStringLiteral(" | count ") + QString::number(entries.size());
}

std::vector<std::pair<std::string, std::string>> without(
    std::vector<std::pair<std::string, std::string>> entries, std::vector<int> rows)
{
    std::sort(rows.rbegin(), rows.rend());
    for (int row : rows)
        entries.erase(entries.begin() + row);
    return entries;
}

} // namespace

class CommandsTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_configHome;

private Q_SLOTS:
    void initTestCase() { privateConfigHome(m_configHome); }

    // ------------------------------------------------------------ Add

    void addAsksForBitmapsSeveralAtOnce()
    {
        EditingWorld world;
        auto form = world.start();
        form->BitBtn7->click();
        QCOMPARE(world.dialogs.size(), size_t {1});
        QCOMPARE(world.dialogs[0].filter, std::string("*.bmp|*.bmp"));
        QCOMPARE(world.dialogs[0].defaultExt, std::string("*.bmp"));
        QVERIFY(world.dialogs[0].multiSelect);
    }

    void addToAnEmptyList()
    {
        EditingWorld world;
        auto form = world.start();
        form->RadioGroup1->setItemIndex(3);
        form->SpinEdit1->setValue(100);
        form->SpinEdit2->setValue(50);
        world.chosen = {"/pics/b.bmp", "/pics/a.bmp"};
        form->BitBtn7->click();
        QCOMPARE(listState(*form),
            expectedState({{"/pics/b.bmp", "3100|50"}, {"/pics/a.bmp", "3100|50"}}, 0,
                QStringLiteral("0"), 0));
        QCOMPARE(form->ListBox2->count(), 0);
    }

    void addToAListOfFive()
    {
        EditingWorld world;
        auto form = world.startWith(FiveEntries, 3);
        const QString before = controls(*form);
        world.chosen = {"/pics/new.jpg"}; // whatever the dialog returns is taken
        form->BitBtn7->click();
        auto expected = FiveEntries;
        expected.emplace_back("/pics/new.jpg", "330|3");
        QCOMPARE(listState(*form), expectedState(expected, 3, QStringLiteral("3"), 3));
        QCOMPARE(controls(*form), before); // Add does not reload the placement
    }

    void addTheSamePathAgain()
    {
        EditingWorld world;
        auto form = world.startWith({{"/pics/a.bmp", "10|0"}});
        world.chosen = {"/pics/a.bmp"};
        form->BitBtn7->click();
        QCOMPARE(form->itemCount(), 2);
        QCOMPARE(form->pictureList()->entry(1).path, std::string("/pics/a.bmp"));
    }

    void addCancelledStillShowsCountAndPreview()
    {
        EditingWorld world;
        world.store("PreviewOn", "true");
        auto form = world.startWith({{"/no/such/Sea.bmp", "00|0"}, {"/no/such/Hill.bmp", "00|0"}});
        world.messages.clear();
        form->Panel5->setCaption(QStringLiteral("stale"));
        world.chosen = {};
        form->BitBtn7->click();
        QCOMPARE(form->itemCount(), 2);
        QCOMPARE(form->Panel5->caption(), QStringLiteral("2"));
        QCOMPARE(world.messages, std::vector<std::string> {UnableToLoad});
    }

    // ------------------------------------------------------------ Remove

    void remove_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QList<int>>("selected");
        QTest::addColumn<int>("indexAfter");
        QTest::addRow("row 2 of 5") << 2 << QList<int> {2} << 1;
        QTest::addRow("picture index 0") << 0 << QList<int> {0} << 0;
        QTest::addRow("nothing selected") << 3 << QList<int> {} << 2;
        QTest::addRow("rows 1 and 3") << 3 << QList<int> {1, 3} << 2;
        // One step back from 4 leaves 3 in a list of 2: brought back to the last row.
        QTest::addRow("several at the end") << 4 << QList<int> {2, 3, 4} << 1;
        QTest::addRow("all but the first") << 4 << QList<int> {1, 2, 3, 4} << 0;
    }
    void remove()
    {
        QFETCH(int, index);
        QFETCH(QList<int>, selected);
        QFETCH(int, indexAfter);
        EditingWorld world;
        auto form = world.startWith(FiveEntries, index);
        form->selectOnly(index);
        for (int row = 0; row < 5; ++row)
            form->setRowSelected(row, selected.contains(row));
        form->BitBtn8->click();
        const auto expected = without(FiveEntries, {selected.begin(), selected.end()});
        QCOMPARE(listState(*form),
            expectedState(expected, indexAfter, QString::number(indexAfter), indexAfter));
        // The controls show the new current entry's placement.
        const auto parsed
            = picturelist::parseSettingsString(expected[static_cast<size_t>(indexAfter)].second);
        QCOMPARE(controls(*form),
            QStringLiteral("%1 %2 %3").arg(parsed.mode).arg(parsed.x).arg(parsed.y));
        QCOMPARE(world.messages, std::vector<std::string> {});
    }

    void removeTheOnlyEntry()
    {
        EditingWorld world;
        auto form = world.startWith({{"/p/only.bmp", "210|20"}});
        form->BitBtn8->click();
        QCOMPARE(
            listState(*form), QStringLiteral(" | index -1 | selected  | current -1 | count 0"));
        QCOMPARE(controls(*form), QStringLiteral("2 10 20"));
        QCOMPARE(world.messages, std::vector<std::string> {});
    }

    void removeOnAnEmptyList()
    {
        EditingWorld world;
        auto form = world.start();
        form->BitBtn8->click();
        QCOMPARE(
            listState(*form), QStringLiteral(" | index -1 | selected  | current -1 | count 0"));
        QCOMPARE(world.messages, std::vector<std::string> {});
    }

    void deleteKeyRemovesWhateverTheModifiers_data()
    {
        QTest::addColumn<int>("modifiers");
        QTest::addRow("plain") << int(Qt::NoModifier);
        QTest::addRow("shift") << int(Qt::ShiftModifier);
        QTest::addRow("ctrl") << int(Qt::ControlModifier);
        QTest::addRow("ctrl alt") << int(Qt::ControlModifier | Qt::AltModifier);
    }
    void deleteKeyRemovesWhateverTheModifiers()
    {
        QFETCH(int, modifiers);
        EditingWorld world;
        auto form = world.startWith(FiveEntries, 2);
        form->setRowSelected(4, true);
        QTest::keyClick(form->ListBox1, Qt::Key_Delete, Qt::KeyboardModifiers(modifiers));
        QCOMPARE(listState(*form),
            expectedState(without(FiveEntries, {2, 4}), 1, QStringLiteral("1"), 1));
    }

    void otherKeysRemoveNothing()
    {
        EditingWorld world;
        auto form = world.startWith(FiveEntries, 2);
        QTest::keyClick(form->ListBox1, Qt::Key_Backspace);
        QTest::keyClick(form->ListBox1, Qt::Key_D);
        QCOMPARE(form->itemCount(), 5);
    }

    // ------------------------------------------------------------ Clear All

    void clearAll_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("cleared");
        QTest::addRow("yes") << int(murelin::MsgAnswer::Yes) << true;
        QTest::addRow("no") << int(murelin::MsgAnswer::No) << false;
        QTest::addRow("cancel") << int(murelin::MsgAnswer::Cancel) << false;
    }
    void clearAll()
    {
        QFETCH(int, answer);
        QFETCH(bool, cleared);
        EditingWorld world;
        auto form = world.startWith(FiveEntries, 3);
        const QString before = listState(*form);
        const QString placement = controls(*form);
        world.answer = static_cast<murelin::MsgAnswer>(answer);
        form->BitBtn5->click();
        QCOMPARE(world.requests.size(), size_t {1});
        const murelin::MessageRequest &box = world.requests[0];
        QCOMPARE(box.caption, std::string("Confirm"));
        QCOMPARE(box.text, std::string("Please confirm you wish to completely clear the list."));
        QVERIFY(box.icon == murelin::MsgIcon::Question);
        QVERIFY(box.buttons == murelin::MsgButtons::YesNoCancel);
        QVERIFY(box.defaultAnswer == murelin::MsgAnswer::Yes);
        if (cleared)
            QCOMPARE(
                listState(*form), QStringLiteral(" | index -1 | selected  | current -1 | count 0"));
        else
            QCOMPARE(listState(*form), before);
        QCOMPARE(controls(*form), placement);
    }

    // ------------------------------------------------------------ Sort

    void sortIgnoresCase()
    {
        EditingWorld world;
        auto form = world.startWith({{"c:\\b.bmp", "10|0"}, {"C:\\A.bmp", "20|0"}}, 1);
        form->BitBtn6->click();
        QCOMPARE(listState(*form),
            expectedState(
                {{"C:\\A.bmp", "20|0"}, {"c:\\b.bmp", "10|0"}}, 0, QStringLiteral("0"), 0));
        QCOMPARE(controls(*form), QStringLiteral("2 0 0"));
    }

    void sortKeepsPathsHoldingBraces()
    {
        EditingWorld world;
        auto form = world.startWith(
            {{"/p/x}y.bmp", "312|34"}, {"/p/x.bmp", "10|0"}, {"/p/A}}.bmp", "20|0"}}, 0);
        form->BitBtn6->click();
        QCOMPARE(listState(*form),
            expectedState({{"/p/A}}.bmp", "20|0"}, {"/p/x.bmp", "10|0"}, {"/p/x}y.bmp", "312|34"}},
                0, QStringLiteral("0"), 0));
        QCOMPARE(controls(*form), QStringLiteral("2 0 0"));
    }

    void sortAnEmptyList()
    {
        EditingWorld world;
        auto form = world.start();
        form->BitBtn6->click();
        QCOMPARE(
            listState(*form), QStringLiteral(" | index -1 | selected  | current -1 | count 0"));
        QCOMPARE(world.messages, std::vector<std::string> {});
    }

    // ------------------------------------------------------------ Up and Down

    void upMovesTheFirstSelectedRow()
    {
        EditingWorld world;
        auto form = world.startWith(FiveEntries, 0);
        form->selectOnly(2);
        form->setRowSelected(4, true);
        const QString placement = controls(*form);
        form->BitBtn9->click();
        auto expected = FiveEntries;
        std::swap(expected[1], expected[2]);
        QCOMPARE(listState(*form), expectedState(expected, 1, QStringLiteral("1"), 1));
        QCOMPARE(controls(*form), placement); // Up does not reload the placement
    }

    void downMovesTheFirstSelectedRow()
    {
        EditingWorld world;
        auto form = world.startWith(FiveEntries, 0);
        form->selectOnly(1);
        form->setRowSelected(3, true);
        form->BitBtn10->click();
        auto expected = FiveEntries;
        std::swap(expected[1], expected[2]);
        QCOMPARE(listState(*form), expectedState(expected, 2, QStringLiteral("2"), 2));
    }

    void upOnTheFirstAndDownOnTheLastMoveNothing()
    {
        EditingWorld world;
        auto form = world.startWith(FiveEntries, 3);
        form->selectOnly(0);
        form->setRowSelected(2, true);
        form->BitBtn9->click();
        QCOMPARE(listState(*form), expectedState(FiveEntries, 0, QStringLiteral("0"), 0));
        form->selectOnly(4);
        form->BitBtn10->click();
        QCOMPARE(listState(*form), expectedState(FiveEntries, 4, QStringLiteral("4"), 4));
    }

    void upAndDownOnAnEmptyList()
    {
        EditingWorld world;
        auto form = world.start();
        form->BitBtn9->click();
        form->BitBtn10->click();
        QCOMPARE(
            listState(*form), QStringLiteral(" | index -1 | selected  | current -1 | count 0"));
        QCOMPARE(world.messages, std::vector<std::string> {});
    }
};

QTEST_MAIN(CommandsTest)
#include "commands_test.moc"
