#include "controls.h"

#include "settings/numtext.h"

#include <QFocusEvent>
#include <QLineEdit>
#include <QPainter>

#include <algorithm>

SpinEdit::SpinEdit(int minValue, int maxValue, QWidget *parent)
    : QAbstractSpinBox(parent)
    , m_min(minValue)
    , m_max(maxValue)
{
    setKeyboardTracking(true);
    setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
    m_lastValue = clamp(0);
    lineEdit()->setText(QString::number(m_lastValue));
    connect(lineEdit(), &QLineEdit::textChanged, this, &SpinEdit::textEdited);
}

int SpinEdit::clamp(int value) const
{
    return std::clamp(value, m_min, m_max);
}

int SpinEdit::value() const
{
    const QByteArray text = lineEdit()->text().toLatin1();
    return settings::StrToIntDef(
        std::string_view(text.constData(), static_cast<size_t>(text.size())), 0);
}

void SpinEdit::setValue(int value)
{
    const QString text = QString::number(clamp(value));
    if (lineEdit()->text() != text)
        lineEdit()->setText(text);
    notifyIfChanged();
}

void SpinEdit::stepBy(int steps)
{
    const long long next = static_cast<long long>(value()) + steps;
    setValue(static_cast<int>(std::clamp<long long>(next, m_min, m_max)));
    selectAll();
}

QAbstractSpinBox::StepEnabled SpinEdit::stepEnabled() const
{
    StepEnabled enabled = StepNone;
    if (value() < m_max)
        enabled |= StepUpEnabled;
    if (value() > m_min)
        enabled |= StepDownEnabled;
    return enabled;
}

QValidator::State SpinEdit::validate(QString &input, int &) const
{
    // Any text may stand in the field while the user types; what is not a number reads as 0.
    for (const QChar c : input) {
        if (!c.isDigit() && c != u'-' && c != u'+' && c != u'$' && !c.isLetter() && c != u' ')
            return QValidator::Invalid;
    }
    return QValidator::Acceptable;
}

void SpinEdit::focusOutEvent(QFocusEvent *event)
{
    const int current = value();
    if (current != clamp(current))
        setValue(current);
    QAbstractSpinBox::focusOutEvent(event);
}

void SpinEdit::textEdited()
{
    notifyIfChanged();
}

void SpinEdit::notifyIfChanged()
{
    const int current = value();
    if (current == m_lastValue)
        return;
    m_lastValue = current;
    Q_EMIT valueChanged(current);
}

RadioGroup::RadioGroup(const QString &caption, const QStringList &items, QWidget *parent)
    : QGroupBox(caption, parent)
{
    m_group.setExclusive(false);
    for (int i = 0; i < items.size(); ++i) {
        auto *button = new QRadioButton(items[i], this);
        button->setAutoExclusive(false);
        m_buttons.push_back(button);
        m_group.addButton(button, i);
    }
    connect(&m_group, &QButtonGroup::idClicked, this, [this](int id) {
        // A click on the chosen item keeps it chosen; a click on another one moves the choice.
        apply(m_index);
        setItemIndex(id);
    });
}

void RadioGroup::apply(int index)
{
    for (int i = 0; i < count(); ++i) {
        const QSignalBlocker blocker(m_buttons[static_cast<size_t>(i)]);
        m_buttons[static_cast<size_t>(i)]->setChecked(i == index);
    }
}

void RadioGroup::setItemIndex(int index)
{
    index = std::clamp(index, -1, count() - 1);
    apply(index);
    if (index == m_index)
        return;
    m_index = index;
    Q_EMIT itemClicked(index);
}

Panel::Panel(Bevel bevel, QWidget *parent)
    : QFrame(parent)
{
    setFrameShape(QFrame::Panel);
    setFrameShadow(bevel == Raised ? QFrame::Raised : QFrame::Sunken);
    setLineWidth(bevel == Raised ? 2 : 1);
}

void Panel::setCaption(const QString &caption)
{
    if (caption == m_caption)
        return;
    m_caption = caption;
    update();
}

void Panel::paintEvent(QPaintEvent *event)
{
    QFrame::paintEvent(event);
    if (m_caption.isEmpty())
        return;
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(contentsRect(), Qt::AlignCenter, m_caption);
}
