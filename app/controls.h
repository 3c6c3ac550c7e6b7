#pragma once

#include <QAbstractSpinBox>
#include <QButtonGroup>
#include <QFrame>
#include <QGroupBox>
#include <QRadioButton>
#include <QString>

#include <vector>

/**
 * A number field with up/down buttons. Its value is the number its text spells (0 for text
 * that is not a number); a value set from code or by the buttons is clamped into the range,
 * a typed value out of range is kept until the field loses the focus and is then clamped.
 * valueChanged fires exactly when the value really changes, from code or from the user.
 */
class SpinEdit : public QAbstractSpinBox
{
    Q_OBJECT
public:
    SpinEdit(int minValue, int maxValue, QWidget *parent = nullptr);

    int value() const;
    void setValue(int value);
    int minValue() const { return m_min; }
    int maxValue() const { return m_max; }

    void stepBy(int steps) override;

Q_SIGNALS:
    void valueChanged(int value);

protected:
    StepEnabled stepEnabled() const override;
    QValidator::State validate(QString &input, int &pos) const override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void textEdited();
    int clamp(int value) const;
    void notifyIfChanged();

    int m_min;
    int m_max;
    int m_lastValue = 0;
};

/**
 * A framed group of option buttons with one item index: -1 (nothing chosen) to count - 1.
 * Setting the index from code clamps it into that range; itemClicked fires exactly when the
 * index really changes, from code or from the user.
 */
class RadioGroup : public QGroupBox
{
    Q_OBJECT
public:
    RadioGroup(const QString &caption, const QStringList &items, QWidget *parent = nullptr);

    int itemIndex() const { return m_index; }
    void setItemIndex(int index);
    int count() const { return static_cast<int>(m_buttons.size()); }
    QRadioButton *button(int i) const { return m_buttons[static_cast<size_t>(i)]; }

Q_SIGNALS:
    void itemClicked(int index);

private:
    void apply(int index);

    std::vector<QRadioButton *> m_buttons;
    QButtonGroup m_group;
    int m_index = -1;
};

/** A bevelled panel that can show a one-line caption centred in it. */
class Panel : public QFrame
{
    Q_OBJECT
public:
    enum Bevel { Raised, Lowered };
    Panel(Bevel bevel, QWidget *parent = nullptr);

    QString caption() const { return m_caption; }
    void setCaption(const QString &caption);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_caption;
};
