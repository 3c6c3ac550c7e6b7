#pragma once

// Commands from outside the window (a keyboard shortcut, a panel launcher, a script) and the
// little state the outside can read, whatever carries them: each command runs the handler of
// its button through the window's event dispatch, and none runs while a box or dialog of the
// program waits for the user, so that no handler ever runs inside another's wait.

#include "app/core/Murelin1.h"

#include <cstdint>
#include <functional>
#include <string>

namespace core {

enum class Command {
    Next, // the "Next >" button
    Prev, // the "< Prev" button
    LoadCurrent, // the "Load Current" button
    ShowWindow, // a right click on the notification icon
};

enum class CommandResult {
    Done,
    /** A box or dialog waits for the user; nothing was run. */
    Busy,
    /** The handler ended with an error, which the window has shown. */
    Failed,
};

/** What the outside can read of the program. */
struct PublicState
{
    std::int32_t count = 0;
    std::int32_t currentIndex = -1; // PictureIndex
    /** The current entry's path as its bytes; empty when there is no current entry. */
    std::string currentPicture;

    friend bool operator==(const PublicState &, const PublicState &) = default;
};

/** Which values of PublicState changed: a set of these bits. */
enum StateChange : unsigned {
    CountChanged = 1u << 0,
    CurrentIndexChanged = 1u << 1,
    CurrentPictureChanged = 1u << 2,
};

class Remote
{
public:
    /** Told, after each event that changed something, which values changed and what they are. */
    using Listener = std::function<void(unsigned changes, const PublicState &state)>;

    /** Follows `form` from now on; what it holds now is the first state, not a change. */
    Remote(TForm1 &form, Listener changed);
    ~Remote();
    Remote(const Remote &) = delete;
    Remote &operator=(const Remote &) = delete;

    /** Runs `command` unless the program is busy with a box or dialog. */
    CommandResult run(Command command);
    /** The message of the error that ended the last command that Failed. */
    const std::string &failure() const { return m_failure; }
    PublicState state() const;

private:
    void check();

    TForm1 &m_form;
    Listener m_changed;
    PublicState m_last;
    std::string m_failure;
};

} // namespace core
