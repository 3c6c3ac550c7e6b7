// The window as drawn on Linux, at the resolution this run is given (QT_FONT_DPI,
// QT_SCALE_FACTOR): every caption within its control's room, in the face of the right widths,
// and the spin edits' arrows visible.
#include "tests/support/form_world.h"

#include "app/qt/main_window.h"
#include "platform/qt/window.h"

#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStyleOption>
#include <QTest>

#include <algorithm>

namespace {

struct Caption
{
    QWidget *control;
    QString text;
    QRect room; // where the control draws its text
};

// Every control of the window that shows a caption of its own, with the room it gives it.
std::vector<Caption> captions(QWidget *window)
{
    std::vector<Caption> found;
    for (QWidget *w : window->findChildren<QWidget *>()) {
        if (!w->isVisibleTo(window))
            continue;
        QStyle *style = w->style();
        if (auto *b = qobject_cast<QAbstractButton *>(w)) {
            QStyleOptionButton option;
            option.initFrom(b);
            option.text = b->text();
            const QStyle::SubElement contents = qobject_cast<QCheckBox *>(w)
                ? QStyle::SE_CheckBoxContents
                : qobject_cast<QRadioButton *>(w) ? QStyle::SE_RadioButtonContents
                                                  : QStyle::SE_PushButtonContents;
            found.push_back({w, b->text(), style->subElementRect(contents, &option, b)});
        } else if (auto *label = qobject_cast<QLabel *>(w); label && !label->text().isEmpty()) {
            found.push_back({w, label->text(), label->contentsRect()});
        } else if (auto *group = qobject_cast<QGroupBox *>(w)) {
            QStyleOptionGroupBox option;
            option.initFrom(group);
            option.text = group->title();
            option.subControls = QStyle::SC_GroupBoxLabel;
            option.textAlignment = group->alignment();
            // The style sizes the title's own rect to the text; the box's width bounds it.
            const QRect title = style->subControlRect(
                QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, group);
            found.push_back({w, group->title(),
                QRect(title.left(), title.top(), group->width() - title.left(), title.height())});
        }
    }
    return found;
}

/** The window as the program builds it, on a desktop with a notification area. */
class LookWindow : public qtshell::MainWindow
{
public:
    using MainWindow::MainWindow;
    bool notificationAreaAvailable() override { return true; }
};

int luminance(QRgb c)
{
    return (qRed(c) * 30 + qGreen(c) * 59 + qBlue(c) * 11) / 100;
}

} // namespace

class LookTest : public QObject
{
    Q_OBJECT

private:
    testsupport::FormWorld m_world;
    std::unique_ptr<qtshell::MainWindow> m_form;

private Q_SLOTS:
    void initTestCase()
    {
        platform::prepareWindowLook();
        const QScreen *screen = QGuiApplication::primaryScreen();
        // Every spin edit inside its range, so both its buttons are enabled.
        m_world.store("Timer", "900");
        m_world.store("X1", "5");
        m_world.store("Y1", "5");
        m_world.store("TimedDisplay", "true");
        m_world.store("PreviewOn", "true");
        m_form = std::make_unique<LookWindow>(m_world.environment());
        m_form->form().FormCreate();
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
        qInfo("screen: %g dpi logical, device pixel ratio %g", screen->logicalDotsPerInchY(),
            screen->devicePixelRatio());
    }

    void captionsFitTheirControls()
    {
        const std::vector<Caption> all = captions(m_form.get());
        QVERIFY2(all.size() >= 24, qPrintable(QString::number(all.size())));
        QStringList cut;
        for (const Caption &c : all) {
            const QFontMetricsF metrics(c.control->font());
            const qreal width = metrics.horizontalAdvance(c.text);
            if (width > c.room.width())
                cut << QStringLiteral("%1 \"%2\" needs %3, has %4")
                            .arg(c.control->objectName(), c.text)
                            .arg(width)
                            .arg(c.room.width())
                        + QStringLiteral(" at %1,%2 in %3")
                              .arg(c.room.x())
                              .arg(c.room.y())
                              .arg(c.control->width());
        }
        QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QStringLiteral("; "))));
    }

    void captionsUseAFaceOfTheLayoutsWidths()
    {
        for (const Caption &c : captions(m_form.get())) {
            const QFontInfo info(c.control->font());
            QVERIFY2(info.family() == QStringLiteral("Liberation Sans"),
                qPrintable(c.control->objectName() + QStringLiteral(": ") + info.family()));
        }
    }

    // A spin edit's arrows, a checked box's tick and the chosen item's dot stand out from
    // the face they are drawn on.
    void marksShowOnTheirBoxes()
    {
        std::vector<std::pair<QWidget *, QRect>> marks;
        for (QAbstractSpinBox *spin : m_form->findChildren<QAbstractSpinBox *>()) {
            QStyleOptionSpinBox option;
            option.initFrom(spin);
            option.subControls = QStyle::SC_SpinBoxUp | QStyle::SC_SpinBoxDown;
            option.buttonSymbols = spin->buttonSymbols();
            option.stepEnabled
                = QAbstractSpinBox::StepUpEnabled | QAbstractSpinBox::StepDownEnabled;
            option.frame = spin->hasFrame();
            for (auto part : {QStyle::SC_SpinBoxUp, QStyle::SC_SpinBoxDown})
                marks.emplace_back(
                    spin, spin->style()->subControlRect(QStyle::CC_SpinBox, &option, part, spin));
        }
        for (QAbstractButton *b : m_form->findChildren<QAbstractButton *>()) {
            const bool box = qobject_cast<QCheckBox *>(b);
            if (!(box || qobject_cast<QRadioButton *>(b)) || !b->isChecked())
                continue;
            QStyleOptionButton option;
            option.initFrom(b);
            marks.emplace_back(b,
                b->style()->subElementRect(
                    box ? QStyle::SE_CheckBoxIndicator : QStyle::SE_RadioButtonIndicator, &option,
                    b));
        }
        QCOMPARE(marks.size(), size_t(6 + 3)); // three spin edits; Timer On, Preview On, Location
        for (const auto &[control, rect] : marks) {
            const QPixmap shot = control->grab();
            const QImage image = shot.toImage();
            const qreal ratio = shot.devicePixelRatio();
            const QRect device(QPoint(qCeil(rect.left() * ratio), qCeil(rect.top() * ratio)),
                QPoint(qFloor(rect.right() * ratio), qFloor(rect.bottom() * ratio)));
            std::vector<int> shades;
            for (int y = device.top() + 1; y < device.bottom(); ++y)
                for (int x = device.left() + 1; x < device.right(); ++x)
                    shades.push_back(luminance(image.pixel(x, y)));
            QVERIFY(!shades.empty());
            std::sort(shades.begin(), shades.end());
            const int face = shades[shades.size() / 2]; // the box's own face is its commonest shade
            const auto mark = std::count_if(
                shades.begin(), shades.end(), [face](int s) { return std::abs(s - face) > 96; });
            QVERIFY2(static_cast<qreal>(mark) >= 3 * ratio * ratio,
                qPrintable(control->objectName() + QStringLiteral(": ") + QString::number(mark)
                    + QStringLiteral(" pixels stand out")));
        }
    }

    // At a device pixel ratio above one the text is drawn for the device's pixels, not
    // enlarged from a drawing at one: rows of a doubled picture would repeat in pairs.
    void textIsDrawnForTheDevicesPixels()
    {
        const QPixmap shot = m_form->grab();
        const qreal ratio = shot.devicePixelRatio();
        QCOMPARE(shot.size(), (QSizeF(m_form->size()) * ratio).toSize());
        if (ratio < 2)
            QSKIP("drawn at a device pixel ratio below two");
        const QImage image = shot.toImage();
        int pairs = 0;
        int repeated = 0;
        for (const Caption &c : captions(m_form.get())) {
            const QRect r(
                c.control->mapTo(m_form.get(), c.room.topLeft()) * ratio, c.room.size() * ratio);
            for (int y = r.top(); y + 1 <= r.bottom(); y += 2) {
                ++pairs;
                bool same = true;
                for (int x = r.left(); x <= r.right() && same; ++x)
                    same = image.pixel(x, y) == image.pixel(x, y + 1);
                repeated += same ? 1 : 0;
            }
        }
        QVERIFY(pairs > 100);
        QVERIFY2(repeated < pairs * 3 / 4,
            qPrintable(QStringLiteral("%1 of %2 row pairs repeat").arg(repeated).arg(pairs)));

        // The window's icon, at its stored size on this display.
        const QImage icon = m_form->windowIcon().pixmap(QSize(32, 32), ratio).toImage();
        QCOMPARE(icon.size(), QSize(32, 32) * 2);
        int iconRepeats = 0;
        for (int y = 0; y + 1 < icon.height(); y += 2)
            iconRepeats += icon.copy(0, y, icon.width(), 1) == icon.copy(0, y + 1, icon.width(), 1);
        QVERIFY2(iconRepeats < icon.height() / 2 * 3 / 4, qPrintable(QString::number(iconRepeats)));
    }
};

QTEST_MAIN(LookTest)
#include "look_test.moc"
