#pragma once

// Files dropped on the main window from the file manager, for the Qt shell (Linux).

#include <QObject>

#include <string>
#include <vector>

class QWidget;

namespace platform {

/**
 * Makes `window` a target of files dropped from the file manager, through the toolkit's drag
 * and drop. Each drop reports every name once, in
 * the order the drag source gave them, as bytes.
 */
class FileDropTarget : public QObject
{
    Q_OBJECT
public:
    explicit FileDropTarget(QWidget *window);
    ~FileDropTarget() override;

Q_SIGNALS:
    void filesDropped(const std::vector<std::string> &names);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *m_window = nullptr;
};

} // namespace platform
