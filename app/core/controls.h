#pragma once

// The window's controls as the program sees them, without any toolkit: what each one holds and
// when its event fires. A shell draws each control from its model and hands the user's actions
// back to it; the program's handlers work on the models only.
//
// Every model has two listeners: its event (the handler of TForm1 it runs, as the layout wires
// it) and `viewChanged`, which tells the shell that what the control shows has changed. Setting a
// control's state from code has the effect of the user's change: the event runs exactly when
// the state really changes and not when it is set to what it already holds.

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace core {

/** What a control reports to the shell that draws it. */
class Control
{
public:
    /** Runs after every change of what the control shows, whoever made it. */
    std::function<void()> viewChanged;

protected:
    void showChange() const
    {
        if (viewChanged)
            viewChanged();
    }
};

/** A check box: its click event runs exactly when its state really changes. */
class CheckBox : public Control
{
public:
    bool checked() const { return m_checked; }
    /** The program's change and the user's click alike. */
    void setChecked(bool checked);

    std::function<void()> onClick;

private:
    bool m_checked = false;
};

/**
 * A number field with up/down buttons and a range. It holds the text that stands in it; its value
 * is that text read as an integer and brought into the range (a text that is no number reads as
 * the range's lowest value), so the value never leaves the range whatever is typed. A value set
 * from code or by the buttons replaces the text by the clamped number; a typed text stays as
 * typed until the field loses the focus, when it is replaced by its value. The change event runs
 * exactly when the value really changes.
 */
class SpinEdit : public Control
{
public:
    SpinEdit(std::int32_t minValue, std::int32_t maxValue);

    std::int32_t value() const { return m_value; }
    const std::string &text() const { return m_text; }
    std::int32_t minValue() const { return m_min; }
    std::int32_t maxValue() const { return m_max; }

    void setValue(std::int32_t value);
    /** The user's typing: the whole text as it now stands. */
    void setText(std::string text);
    /** The field lost the focus: the text becomes the value it reads as. */
    void leave();
    /** The up (positive) or down button, `steps` times; the value stops at the range's ends. */
    void stepBy(int steps);

    std::function<void()> onChange;

private:
    std::int32_t valueOf(const std::string &text) const;
    void update(std::string text);

    std::int32_t m_min;
    std::int32_t m_max;
    std::string m_text;
    std::int32_t m_value;
};

/**
 * A group of option buttons with one item index, -1 (nothing chosen) to count - 1. An index set
 * from code is clamped into that range; a click on an item chooses it, a click on the chosen one
 * keeps it. The click event runs exactly when the index really changes.
 */
class RadioGroup : public Control
{
public:
    explicit RadioGroup(int count)
        : m_count(count)
    {
    }

    int count() const { return m_count; }
    int itemIndex() const { return m_index; }
    void setItemIndex(int index);

    std::function<void()> onClick;

private:
    int m_count;
    int m_index = -1;
};

/** Keys the program reacts to, numbered as the system's virtual-key codes. */
enum class Key : std::uint16_t {
    Delete = 0x2E,
};

/** The modifier keys held during a click in a list. */
struct ClickModifiers
{
    bool shift = false;
    bool control = false;
};

/**
 * A list box: rows of text held as bytes, any number of them selected at once, and one current
 * item (the row with the focus, or -1). The program changes rows and selection freely without
 * running the click event; the user's changes of the selection run it.
 */
class ListBox : public Control
{
public:
    /** What changed, for the shell: the rows themselves, or only the selection. */
    enum Change : unsigned { Rows = 1, Selection = 2 };
    unsigned lastChange() const { return m_lastChange; }

    int count() const { return static_cast<int>(m_rows.size()); }
    const std::vector<std::string> &items() const { return m_rows; }
    const std::string &item(int row) const { return m_rows[static_cast<std::size_t>(row)]; }

    /** Replaces every row; nothing is selected afterwards and there is no current item. */
    void setItems(std::vector<std::string> rows);
    void clear() { setItems({}); }
    /** Appends rows at the end; the selection stays. */
    void append(const std::vector<std::string> &rows);
    void setItem(int row, std::string text);

    bool isSelected(int row) const { return m_selected[static_cast<std::size_t>(row)] != 0; }
    void setSelected(int row, bool selected);
    /** The selected rows, ascending. */
    std::vector<int> selectedRows() const;
    void clearSelection();
    int itemIndex() const { return m_current; }
    /** Makes `row` the current item (-1 for none); the selection stays. */
    void setItemIndex(int row);
    /** Selects `row` only and makes it the current item. */
    void selectOnly(int row);

    // The user's actions, reported by the shell; each runs the click event when the selection
    // or the current item changed.
    /** A click on `row` with extended selection: alone, with Shift (a range from the anchor)
     * or with Ctrl (one row toggled). */
    void click(int row, ClickModifiers modifiers = {});
    /** The selection as the shell's own list now holds it, after a change the user made. */
    void userSelected(const std::vector<int> &rows, int current);
    void keyDown(Key key)
    {
        if (onKeyDown)
            onKeyDown(key);
    }

    std::function<void()> onClick;
    std::function<void(Key)> onKeyDown;

private:
    void changed(unsigned what);
    void userChange(const std::vector<char> &selected, int current);

    std::vector<std::string> m_rows;
    std::vector<char> m_selected;
    int m_current = -1;
    int m_anchor = -1;
    unsigned m_lastChange = 0;
};

/** A panel: only its caption changes while the program runs. */
class Panel : public Control
{
public:
    const std::string &caption() const { return m_caption; }
    void setCaption(std::string caption);

private:
    std::string m_caption;
};

/** The preview picture: the bitmap file it shows, the picture's size and its own bounds. */
class Picture : public Control
{
public:
    Picture(int left, int top, int width, int height)
        : m_left(left)
        , m_top(top)
        , m_width(width)
        , m_height(height)
    {
    }

    const std::string &file() const { return m_file; }
    int pictureWidth() const { return m_pictureWidth; }
    int pictureHeight() const { return m_pictureHeight; }
    int left() const { return m_left; }
    int top() const { return m_top; }
    int width() const { return m_width; }
    int height() const { return m_height; }

    /** Shows the bitmap file `file`, which is `width` x `height` pixels. */
    void show(std::string file, int width, int height);
    void setBounds(int left, int top, int width, int height);

private:
    std::string m_file;
    int m_pictureWidth = 0;
    int m_pictureHeight = 0;
    int m_left;
    int m_top;
    int m_width;
    int m_height;
};

/**
 * A timer: enabled or not, with an interval in milliseconds. It counts while it is enabled and its
 * interval is above 0, and its event runs each time the interval has passed. Enabling a timer
 * that is enabled, or giving it the interval it has, changes nothing and the count goes on; a
 * different interval, or enabling a disabled timer, starts the count from zero.
 */
class Timer : public Control
{
public:
    explicit Timer(std::int32_t interval)
        : m_interval(interval)
    {
    }

    bool enabled() const { return m_enabled; }
    std::int32_t interval() const { return m_interval; }
    /** Whether it counts now. */
    bool running() const { return m_enabled && m_interval > 0; }
    /** How many times the count started from zero; the shell restarts its clock on a change. */
    std::uint64_t starts() const { return m_starts; }

    void setEnabled(bool enabled);
    void setInterval(std::int32_t interval);
    /** The interval has passed (the shell's clock). */
    void tick()
    {
        if (running() && onTimer)
            onTimer();
    }

    std::function<void()> onTimer;

private:
    void restart();

    bool m_enabled = false;
    std::int32_t m_interval;
    std::uint64_t m_starts = 0;
};

/**
 * Keeps a shell's clock in step with a timer: after each change of the timer, whether the clock
 * must stop, start counting from zero, or go on as it is.
 */
class TimerClock
{
public:
    enum Step { Keep, Start, Stop };

    Step follow(const Timer &timer)
    {
        if (!timer.running())
            return std::exchange(m_counting, false) ? Stop : Keep;
        if (m_counting && m_start == timer.starts())
            return Keep;
        m_counting = true;
        m_start = timer.starts();
        return Start;
    }
    /** The shell's clock did not start after all; the next change tries again. */
    void notStarted() { m_counting = false; }

private:
    bool m_counting = false;
    std::uint64_t m_start = 0;
};

/** The main window itself: its position, and whether it is shown. */
class Window : public Control
{
public:
    Window(int left, int top)
        : m_left(left)
        , m_top(top)
    {
    }

    /** Where the window stands. */
    int left() const { return whereShown ? whereShown().first : m_left; }
    int top() const { return whereShown ? whereShown().second : m_top; }
    /** Where the program last put it. */
    int placedLeft() const { return m_left; }
    int placedTop() const { return m_top; }
    void setLeft(int left);
    void setTop(int top);
    /** Where the window stands now, the user's moves included (the shell's answer). */
    std::function<std::pair<int, int>()> whereShown;

    /** The face and size FontMe gave the controls; empty until it ran. */
    const std::string &fontFace() const { return m_fontFace; }
    int fontPoints() const { return m_fontPoints; }
    void setFont(std::string face, int points);

private:
    int m_left;
    int m_top;
    std::string m_fontFace;
    int m_fontPoints = 0;
};

} // namespace core
