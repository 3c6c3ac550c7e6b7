#include "app/core/remote.h"

#include <exception>
#include <utility>

namespace core {

Remote::Remote(TForm1 &form, Listener changed)
    : m_form(form)
    , m_changed(std::move(changed))
    , m_last(state())
{
    m_form.afterEvent = [this] { check(); };
}

Remote::~Remote()
{
    m_form.afterEvent = nullptr;
}

CommandResult Remote::run(Command command)
{
    // A box's or dialog's own event loop delivers the outside's calls too; a handler run from
    // there would work on a list the waiting handler still holds.
    if (m_form.modalOpen())
        return CommandResult::Busy;
    const auto handler = [this, command] {
        switch (command) {
        case Command::Next:
            return m_form.B1Click();
        case Command::Prev:
            return m_form.B5Click();
        case Command::LoadCurrent:
            return m_form.B7Click();
        case Command::ShowWindow:
            return m_form.TrayIconMessage(TrayRightButtonDown);
        }
    };
    // The event dispatch shows the error as for a click; its message is kept for the caller.
    m_failure.clear();
    const bool ok = m_form.run([this, &handler] {
        try {
            handler();
        } catch (const std::exception &error) {
            m_failure = error.what();
            throw;
        }
    });
    if (ok)
        return CommandResult::Done;
    if (m_failure.empty())
        m_failure = "Unknown error";
    return CommandResult::Failed;
}

PublicState Remote::state() const
{
    PublicState s;
    s.count = m_form.itemCount();
    s.currentIndex = m_form.PictureIndex;
    if (s.currentIndex >= 0 && s.currentIndex < s.count)
        s.currentPicture = m_form.ListBox1.item(s.currentIndex);
    return s;
}

void Remote::check()
{
    PublicState now = state();
    unsigned changes = 0;
    if (now.count != m_last.count)
        changes |= CountChanged;
    if (now.currentIndex != m_last.currentIndex)
        changes |= CurrentIndexChanged;
    if (now.currentPicture != m_last.currentPicture)
        changes |= CurrentPictureChanged;
    if (changes == 0)
        return;
    m_last = std::move(now);
    if (m_changed)
        m_changed(changes, m_last);
}

} // namespace core
