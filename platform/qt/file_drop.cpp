#include "platform/qt/file_drop.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

namespace platform {

namespace {

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// The local file names of a text/uri-list, percent-decoded to their bytes, so that a name
// that is not UTF-8 arrives exactly as the file system spells it.
std::vector<std::string> localFilesFromUriList(const QByteArray &list)
{
    std::vector<std::string> names;
    for (QByteArray line : list.split('\n')) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        std::string_view uri(line.constData(), static_cast<size_t>(line.size()));
        if (!uri.starts_with("file:"))
            continue;
        uri.remove_prefix(5);
        if (uri.starts_with("//")) {
            uri.remove_prefix(2);
            const auto slash = uri.find('/');
            if (slash == std::string_view::npos)
                continue;
            const std::string_view host = uri.substr(0, slash);
            if (!host.empty() && host != "localhost")
                continue; // a file on another machine
            uri.remove_prefix(slash);
        }
        std::string name;
        for (size_t i = 0; i < uri.size(); ++i) {
            if (uri[i] == '%') {
                const int hi = i + 1 < uri.size() ? hexValue(uri[i + 1]) : -1;
                const int lo = i + 2 < uri.size() ? hexValue(uri[i + 2]) : -1;
                if (hi >= 0 && lo >= 0) {
                    name += static_cast<char>(hi * 16 + lo);
                    i += 2;
                    continue;
                }
            }
            name += uri[i];
        }
        if (!name.empty())
            names.push_back(std::move(name));
    }
    return names;
}

std::vector<std::string> droppedNames(const QMimeData *mime)
{
    if (!mime)
        return {};
    if (mime->hasFormat(QStringLiteral("text/uri-list")))
        return localFilesFromUriList(mime->data(QStringLiteral("text/uri-list")));
    std::vector<std::string> names;
    for (const QUrl &url : mime->urls()) {
        if (url.isLocalFile()) {
            const QByteArray bytes = url.toLocalFile().toLocal8Bit();
            names.emplace_back(bytes.constData(), static_cast<size_t>(bytes.size()));
        }
    }
    return names;
}

} // namespace

FileDropTarget::FileDropTarget(QWidget *window)
    : QObject(window)
    , m_window(window)
{
    window->setAcceptDrops(true);
    window->installEventFilter(this);
}

FileDropTarget::~FileDropTarget() = default;

bool FileDropTarget::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_window)
        return false;
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto *drag = static_cast<QDropEvent *>(event);
        if (drag->mimeData() && drag->mimeData()->hasUrls()) {
            drag->setDropAction(Qt::CopyAction);
            drag->accept();
        } else {
            drag->ignore();
        }
        return true;
    }
    case QEvent::Drop: {
        auto *drop = static_cast<QDropEvent *>(event);
        std::vector<std::string> names = droppedNames(drop->mimeData());
        drop->setDropAction(Qt::CopyAction);
        drop->accept();
        Q_EMIT filesDropped(names);
        return true;
    }
    default:
        return false;
    }
}

} // namespace platform
