#pragma once

#include <functional>
#include <string>
#include <vector>

class QWidget;

namespace murelin {

/** The application's title: the caption of every message box of ours. */
inline constexpr const char *ApplicationTitle = "Murelin";

enum class MsgIcon { None, Information, Warning, Error, Question };
enum class MsgButtons { Ok, YesNoCancel };
enum class MsgAnswer { Ok, Yes, No, Cancel };

/** One message box as the program asks for it. */
struct MessageRequest
{
    std::string text;
    std::string caption;
    MsgIcon icon = MsgIcon::None;
    MsgButtons buttons = MsgButtons::Ok;
    MsgAnswer defaultAnswer = MsgAnswer::Ok;
};

/**
 * Shows a modal message box and returns the user's answer. Every message box of the program
 * goes through here, so that tests can answer it instead of a person.
 */
MsgAnswer messageBox(QWidget *parent, const MessageRequest &request);

/** Shows `text` with the application's title and an OK button. */
void showMessage(QWidget *parent, const std::string &text);

/**
 * Replaces the real message box (tests). The handler sees each request and gives the answer;
 * an empty function restores the real box.
 */
void setMessageBoxHandler(std::function<MsgAnswer(const MessageRequest &)> handler);

/** A file-open dialog's settings, as the program asks for it. */
struct OpenDialogRequest
{
    std::string defaultExt;
    std::string filter; // "label|pattern" pairs
    bool multiSelect = false;
};

/**
 * Runs a modal file-open dialog; returns the chosen names as bytes, empty when cancelled.
 * Tests replace it with setOpenDialogHandler.
 */
std::vector<std::string> runOpenDialog(QWidget *parent, const OpenDialogRequest &request);
void setOpenDialogHandler(
    std::function<std::vector<std::string>(const OpenDialogRequest &)> handler);

/**
 * Runs one event handler the way the window's event dispatch does: an error raised inside it
 * and not caught there ends the handler, and its message is shown with the application's title
 * and an OK button. Returns false when the handler ended with an error.
 */
bool dispatch(QWidget *parent, const std::function<void()> &handler);

} // namespace murelin
