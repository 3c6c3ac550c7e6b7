#pragma once

// The toolkit's side of the window's controls: each widget shows its model and hands the
// user's actions to it. They hold no state of their own that the program reads.

#include "app/core/controls.h"

#include <QAbstractListModel>
#include <QAbstractSpinBox>
#include <QButtonGroup>
#include <QFrame>
#include <QGroupBox>
#include <QListView>
#include <QRadioButton>

#include <functional>
#include <string_view>
#include <vector>

namespace qtshell {

/** Bytes as the system's 8-bit text, for display only. */
QString displayText(std::string_view bytes);

/** A number field with up/down buttons over a core::SpinEdit. */
class SpinEditWidget : public QAbstractSpinBox
{
    Q_OBJECT
public:
    SpinEditWidget(core::SpinEdit &model, QWidget *parent);

    void stepBy(int steps) override;
    /** Shows the model's text. */
    void refresh();

protected:
    StepEnabled stepEnabled() const override;
    QValidator::State validate(QString &input, int &pos) const override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    core::SpinEdit &m_model;
    bool m_showing = false;
};

/** A framed group of option buttons over a core::RadioGroup. */
class RadioGroupWidget : public QGroupBox
{
    Q_OBJECT
public:
    RadioGroupWidget(
        core::RadioGroup &model, const QString &caption, const QStringList &items, QWidget *parent);

    QRadioButton *button(int i) const { return m_buttons[static_cast<size_t>(i)]; }
    /** Shows the model's item index. */
    void refresh();

private:
    core::RadioGroup &m_model;
    std::vector<QRadioButton *> m_buttons;
    QButtonGroup m_group;
};

/** A bevelled panel that can show a one-line caption centred in it. */
class PanelWidget : public QFrame
{
    Q_OBJECT
public:
    PanelWidget(bool raised, QWidget *parent);

    QString caption() const { return m_caption; }
    void setCaption(const QString &caption);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_caption;
};

/**
 * A list view that hands the user's change of its selection and current item to the program
 * once, when the change is complete. The toolkit makes one change in several steps: a mouse press
 * moves the current item before it selects the row, a press on a row that is already selected
 * selects it alone only on release, Shift with an arrow key moves the current item before the
 * range. Handed over step by step, the program would take a half-made click for the user's (the
 * clicked row current while the old rows are still selected) and store the clicked row's
 * placement into the rows selected before.
 */
class ListView : public QListView
{
    Q_OBJECT
public:
    explicit ListView(QWidget *parent);

    /** Runs after the user's change, once the toolkit has made all of it. */
    std::function<void()> selectionDone;

protected:
    bool event(QEvent *event) override;
    bool viewportEvent(QEvent *event) override;
    void selectionChanged(
        const QItemSelection &selected, const QItemSelection &deselected) override;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;

private:
    void selectionStep();
    void handOver();
    /** Runs `handle`, handing over what it changed once it has returned. */
    bool handled(QEvent *event, const std::function<bool()> &handle);

    int m_handling = 0;
    bool m_buttonDown = false;
    bool m_changed = false;
};

/** A core::ListBox's rows for a list view. */
class ListBoxModel : public QAbstractListModel
{
    Q_OBJECT
public:
    ListBoxModel(const core::ListBox &list, QObject *parent);

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    /** The rows changed: the view reads them afresh. */
    void reset();

private:
    const core::ListBox &m_list;
};

} // namespace qtshell
