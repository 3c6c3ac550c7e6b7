#pragma once

// The desktop's own file-open dialog through the XDG desktop portal on the session bus: the
// dialog runs in the portal's process (GNOME's, KDE's ...), so the program gets the native
// dialog without loading a desktop toolkit of its own.

#include <QObject>
#include <QString>
#include <QVariantMap>

#include <optional>
#include <string>
#include <vector>

class QDialog;

namespace qtshell {

/** A name filter of the dialog: its label and its glob patterns ("*.bmp"). */
struct PortalFilter
{
    QString label;
    QStringList patterns;
};

/** What to ask the portal's file chooser for. */
struct PortalOpenRequest
{
    QString title;
    /** "x11:<window id in hex>" for a window on X11; "" when there is none to name. */
    QString parentWindow;
    bool multiple = false;
    std::vector<PortalFilter> filters;
};

/**
 * A file-open dialog of the portal (org.freedesktop.portal.FileChooser.OpenFile). The wait for
 * the answer is a modal dialog of the program's own that is never shown on the screen: the
 * program's windows take no input meanwhile, and rejecting it (an end request) closes the
 * portal's dialog too.
 */
class PortalFileDialog : public QObject
{
    Q_OBJECT
public:
    /**
     * True when a portal on the session bus offers a file chooser: it answers the question for
     * its version within `timeoutMs`. Asked once per run; the answer is kept.
     */
    static bool available(int timeoutMs = 3000);

    /**
     * Asks the portal for a dialog and waits in `wait` (run by `runModal`) for its answer.
     * The chosen files as bytes (none when cancelled or closed); nothing at all when the
     * portal showed no dialog, so that the caller can show one of its own.
     */
    template <class RunModal>
    std::optional<std::vector<std::string>> open(
        const PortalOpenRequest &request, QDialog &wait, RunModal runModal)
    {
        if (!ask(request, wait))
            return std::nullopt;
        runModal(wait);
        return finish();
    }

    /** The local file names of `file://` URIs, byte for byte (percent escapes decoded);
     * other URIs are left out. */
    static std::vector<std::string> localFiles(const QStringList &uris);

private Q_SLOTS:
    void response(uint code, const QVariantMap &results);

private:
    bool ask(const PortalOpenRequest &request, QDialog &wait);
    std::vector<std::string> finish();

    QDialog *m_wait = nullptr;
    QString m_handle;
    bool m_answered = false;
    std::vector<std::string> m_chosen;
};

} // namespace qtshell
