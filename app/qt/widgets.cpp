#include "app/qt/widgets.h"

#include <QFocusEvent>
#include <QLineEdit>
#include <QPainter>

#include <utility>

namespace qtshell {

QString displayText(std::string_view bytes)
{
    return QString::fromLocal8Bit(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

// ---------------------------------------------------------------- SpinEditWidget

SpinEditWidget::SpinEditWidget(core::SpinEdit &model, QWidget *parent)
    : QAbstractSpinBox(parent)
    , m_model(model)
{
    setKeyboardTracking(true);
    refresh();
    connect(lineEdit(), &QLineEdit::textChanged, this, [this](const QString &text) {
        if (m_showing)
            return;
        const QByteArray bytes = text.toLocal8Bit();
        m_model.setText(std::string(bytes.constData(), static_cast<size_t>(bytes.size())));
    });
}

void SpinEditWidget::refresh()
{
    const QString text = displayText(m_model.text());
    if (lineEdit()->text() == text)
        return;
    m_showing = true;
    lineEdit()->setText(text);
    m_showing = false;
}

void SpinEditWidget::stepBy(int steps)
{
    m_model.stepBy(steps);
    selectAll();
}

QAbstractSpinBox::StepEnabled SpinEditWidget::stepEnabled() const
{
    StepEnabled enabled = StepNone;
    if (m_model.value() < m_model.maxValue())
        enabled |= StepUpEnabled;
    if (m_model.value() > m_model.minValue())
        enabled |= StepDownEnabled;
    return enabled;
}

QValidator::State SpinEditWidget::validate(QString &input, int &) const
{
    // Any text may stand in the field while the user types; what is not a number reads as the
    // lowest value.
    for (const QChar c : input) {
        if (!c.isDigit() && c != u'-' && c != u'+' && c != u'$' && !c.isLetter() && c != u' ')
            return QValidator::Invalid;
    }
    return QValidator::Acceptable;
}

void SpinEditWidget::focusOutEvent(QFocusEvent *event)
{
    m_model.leave();
    QAbstractSpinBox::focusOutEvent(event);
}

// ---------------------------------------------------------------- RadioGroupWidget

RadioGroupWidget::RadioGroupWidget(
    core::RadioGroup &model, const QString &caption, const QStringList &items, QWidget *parent)
    : QGroupBox(caption, parent)
    , m_model(model)
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
        refresh();
        m_model.setItemIndex(id);
    });
    refresh();
}

void RadioGroupWidget::refresh()
{
    for (size_t i = 0; i < m_buttons.size(); ++i) {
        const QSignalBlocker blocker(m_buttons[i]);
        m_buttons[i]->setChecked(static_cast<int>(i) == m_model.itemIndex());
    }
}

// ---------------------------------------------------------------- PanelWidget

PanelWidget::PanelWidget(bool raised, QWidget *parent)
    : QFrame(parent)
{
    setFrameShape(QFrame::Panel);
    setFrameShadow(raised ? QFrame::Raised : QFrame::Sunken);
    setLineWidth(raised ? 2 : 1);
}

void PanelWidget::setCaption(const QString &caption)
{
    if (caption == m_caption)
        return;
    m_caption = caption;
    update();
}

void PanelWidget::paintEvent(QPaintEvent *event)
{
    QFrame::paintEvent(event);
    if (m_caption.isEmpty())
        return;
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(contentsRect(), Qt::AlignCenter, m_caption);
}

// ---------------------------------------------------------------- ListView

ListView::ListView(QWidget *parent)
    : QListView(parent)
{
}

void ListView::selectionChanged(const QItemSelection &selected, const QItemSelection &deselected)
{
    QListView::selectionChanged(selected, deselected);
    selectionStep();
}

void ListView::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QListView::currentChanged(current, previous);
    selectionStep();
}

void ListView::selectionStep()
{
    m_changed = true;
    if (m_handling == 0 && !m_buttonDown)
        handOver();
}

void ListView::handOver()
{
    if (!std::exchange(m_changed, false))
        return;
    if (selectionDone)
        selectionDone();
}

bool ListView::handled(QEvent *event, const std::function<bool()> &handle)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick)
        m_buttonDown = true;
    ++m_handling;
    const bool result = handle();
    --m_handling;
    // A release that never comes (the window lost the mouse) ends the click with the focus.
    if (type == QEvent::MouseButtonRelease || type == QEvent::FocusOut || type == QEvent::Hide)
        m_buttonDown = false;
    if (m_handling == 0 && !m_buttonDown)
        handOver();
    return result;
}

bool ListView::event(QEvent *event)
{
    return handled(event, [this, event] { return QListView::event(event); });
}

bool ListView::viewportEvent(QEvent *event)
{
    return handled(event, [this, event] { return QListView::viewportEvent(event); });
}

// ---------------------------------------------------------------- ListBoxModel

ListBoxModel::ListBoxModel(const core::ListBox &list, QObject *parent)
    : QAbstractListModel(parent)
    , m_list(list)
{
}

int ListBoxModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_list.count();
}

QVariant ListBoxModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_list.count() || role != Qt::DisplayRole)
        return {};
    return displayText(m_list.item(index.row()));
}

void ListBoxModel::reset()
{
    beginResetModel();
    endResetModel();
}

} // namespace qtshell
