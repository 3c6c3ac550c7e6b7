#include "app/core/controls.h"

#include "settings/numtext.h"

#include <algorithm>

namespace core {

void CheckBox::setChecked(bool checked)
{
    if (checked == m_checked)
        return;
    m_checked = checked;
    showChange();
    if (onClick)
        onClick();
}

SpinEdit::SpinEdit(std::int32_t minValue, std::int32_t maxValue)
    : m_min(minValue)
    , m_max(maxValue)
    , m_text(settings::IntToStr(std::clamp(0, minValue, maxValue)))
    , m_value(std::clamp(0, minValue, maxValue))
{
}

std::int32_t SpinEdit::valueOf(const std::string &text) const
{
    const auto parsed = settings::parseInteger(text);
    return parsed ? std::clamp(*parsed, m_min, m_max) : m_min;
}

void SpinEdit::update(std::string text)
{
    const std::int32_t value = valueOf(text);
    const bool textChanged = text != m_text;
    m_text = std::move(text);
    if (value == m_value) {
        if (textChanged)
            showChange();
        return;
    }
    m_value = value;
    showChange();
    if (onChange)
        onChange();
}

void SpinEdit::setValue(std::int32_t value)
{
    update(settings::IntToStr(std::clamp(value, m_min, m_max)));
}

void SpinEdit::setText(std::string text)
{
    update(std::move(text));
}

void SpinEdit::leave()
{
    setValue(m_value);
}

void SpinEdit::stepBy(int steps)
{
    setValue(static_cast<std::int32_t>(
        std::clamp<std::int64_t>(std::int64_t {m_value} + steps, m_min, m_max)));
}

void RadioGroup::setItemIndex(int index)
{
    index = std::clamp(index, -1, m_count - 1);
    if (index == m_index)
        return;
    m_index = index;
    showChange();
    if (onClick)
        onClick();
}

// ---------------------------------------------------------------- ListBox

void ListBox::changed(unsigned what)
{
    m_lastChange = what;
    showChange();
}

void ListBox::setItems(std::vector<std::string> rows)
{
    m_rows = std::move(rows);
    m_selected.assign(m_rows.size(), 0);
    m_current = -1;
    m_anchor = -1;
    changed(Rows | Selection);
}

void ListBox::append(const std::vector<std::string> &rows)
{
    if (rows.empty())
        return;
    m_rows.insert(m_rows.end(), rows.begin(), rows.end());
    m_selected.resize(m_rows.size(), 0);
    changed(Rows);
}

void ListBox::setItem(int row, std::string text)
{
    std::string &stored = m_rows[static_cast<std::size_t>(row)];
    if (stored == text)
        return;
    stored = std::move(text);
    changed(Rows);
}

void ListBox::setSelected(int row, bool selected)
{
    char &flag = m_selected[static_cast<std::size_t>(row)];
    if ((flag != 0) == selected)
        return;
    flag = selected ? 1 : 0;
    changed(Selection);
}

std::vector<int> ListBox::selectedRows() const
{
    std::vector<int> rows;
    for (std::size_t i = 0; i < m_selected.size(); ++i) {
        if (m_selected[i])
            rows.push_back(static_cast<int>(i));
    }
    return rows;
}

void ListBox::clearSelection()
{
    if (std::find(m_selected.begin(), m_selected.end(), 1) == m_selected.end())
        return;
    std::fill(m_selected.begin(), m_selected.end(), 0);
    changed(Selection);
}

void ListBox::setItemIndex(int row)
{
    if (row < -1 || row >= count() || row == m_current)
        return;
    m_current = row;
    m_anchor = row;
    changed(Selection);
}

void ListBox::selectOnly(int row)
{
    std::fill(m_selected.begin(), m_selected.end(), 0);
    if (row >= 0 && row < count())
        m_selected[static_cast<std::size_t>(row)] = 1;
    m_current = row;
    m_anchor = row;
    changed(Selection);
}

void ListBox::userChange(const std::vector<char> &selected, int current)
{
    if (selected == m_selected && current == m_current)
        return;
    m_selected = selected;
    m_current = current;
    changed(Selection);
    if (onClick)
        onClick();
}

void ListBox::click(int row, ClickModifiers modifiers)
{
    if (row < 0 || row >= count())
        return;
    std::vector<char> selected = m_selected;
    if (modifiers.shift && m_anchor >= 0) {
        // A range from the anchor; with Ctrl it is added to what is selected.
        if (!modifiers.control)
            std::fill(selected.begin(), selected.end(), 0);
        for (int i = std::min(m_anchor, row); i <= std::max(m_anchor, row); ++i)
            selected[static_cast<std::size_t>(i)] = 1;
    } else if (modifiers.control) {
        char &flag = selected[static_cast<std::size_t>(row)];
        flag = flag ? 0 : 1;
        m_anchor = row;
    } else {
        std::fill(selected.begin(), selected.end(), 0);
        selected[static_cast<std::size_t>(row)] = 1;
        m_anchor = row;
    }
    userChange(selected, row);
}

void ListBox::userSelected(const std::vector<int> &rows, int current)
{
    std::vector<char> selected(m_rows.size(), 0);
    for (int row : rows) {
        if (row >= 0 && row < count())
            selected[static_cast<std::size_t>(row)] = 1;
    }
    if (current != m_current && current >= 0)
        m_anchor = current;
    userChange(selected, current >= 0 && current < count() ? current : -1);
}

// ---------------------------------------------------------------- the rest

void Panel::setCaption(std::string caption)
{
    if (caption == m_caption)
        return;
    m_caption = std::move(caption);
    showChange();
}

void Picture::show(std::string file, int width, int height)
{
    m_file = std::move(file);
    m_pictureWidth = width;
    m_pictureHeight = height;
    showChange();
}

void Picture::setBounds(int left, int top, int width, int height)
{
    if (left == m_left && top == m_top && width == m_width && height == m_height)
        return;
    m_left = left;
    m_top = top;
    m_width = width;
    m_height = height;
    showChange();
}

void Timer::restart()
{
    if (running())
        ++m_starts;
    showChange();
}

void Timer::setEnabled(bool enabled)
{
    if (enabled == m_enabled)
        return;
    m_enabled = enabled;
    restart();
}

void Timer::setInterval(std::int32_t interval)
{
    if (interval == m_interval)
        return;
    m_interval = interval;
    restart();
}

void Window::setLeft(int left)
{
    m_left = left;
    m_top = this->top();
    showChange();
}

void Window::setTop(int top)
{
    m_left = left();
    m_top = top;
    showChange();
}

void Window::setFont(std::string face, int points)
{
    m_fontFace = std::move(face);
    m_fontPoints = points;
    showChange();
}

} // namespace core
