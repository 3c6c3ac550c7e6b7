#include "platform/linux/wallpaper/desk_session.h"

#include "platform/linux/wallpaper/screen_watch.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QPointer>
#include <QThread>

#include <algorithm>
#include <malloc.h>
#include <optional>
#include <tuple>

namespace platform::desk {

namespace {

/** Each output's name and size, in a fixed order: what per-output pictures are made for. */
std::vector<std::tuple<std::string, int, int>> namesAndSizes(const ScreenLayout &layout)
{
    std::vector<std::tuple<std::string, int, int>> out;
    for (const OutputArea &output : layout.outputs)
        out.emplace_back(output.name, output.rect.width(), output.rect.height());
    std::sort(out.begin(), out.end());
    return out;
}

struct Request
{
    Desktop desktop = Desktop::None;
    std::string path;
    DeskPlacement placement;
};

/** The program's wallpaper while it runs; an object of the Qt application, on its thread. */
class DeskSession : public QObject
{
public:
    explicit DeskSession(QCoreApplication *app)
        : QObject(app)
    {
        connect(app, &QCoreApplication::aboutToQuit, this, [this] { handOver(); });
    }

    void request(Request request)
    {
        const bool waiting = m_pending.has_value();
        m_pending = std::move(request);
        if (!waiting)
            QMetaObject::invokeMethod(
                this, [this] { handOver(); }, Qt::QueuedConnection);
    }

private:
    void handOver()
    {
        if (!m_pending)
            return;
        const Request request = std::move(*m_pending);
        m_pending.reset();
        lay(request);
    }

    void lay(const Request &request)
    {
        if (request.path.empty()) {
            applyDeskWallpaper(request.desktop, request.path, request.placement);
            m_laid.reset(); // nothing to lay again
        } else if (auto laid = layDeskWallpaper(request.desktop, request.path, request.placement)) {
            m_laid = Laid {request, laid->first, std::move(laid->second)};
            if (!m_watch)
                m_watch = new ScreenWatch([this] { screensChanged(); }, this);
        }
        // else the desktop still shows what was laid before, which stays the one to lay again
        malloc_trim(0); // a large picture's buffers go back before the program sits idle
    }

    void screensChanged()
    {
        if (!m_laid || m_pending)
            return; // a picture on its way is made for the screens as they are by then
        const ScreenLayout now = screenLayout();
        const bool again
            = needsRelay(desktopRow(m_laid->request.desktop), m_laid->handed, m_laid->layout, now);
        m_laid->layout = now;
        if (again)
            lay(Request(m_laid->request));
    }

    struct Laid
    {
        Request request;
        Handed handed;
        ScreenLayout layout;
    };
    std::optional<Request> m_pending;
    std::optional<Laid> m_laid;
    ScreenWatch *m_watch = nullptr;
};

QPointer<DeskSession> s_session;

} // namespace

bool needsRelay(
    const DesktopRow &row, Handed handed, const ScreenLayout &before, const ScreenLayout &after)
{
    if (before == after)
        return false;
    switch (handed) {
    case Handed::RootPixmap:
    case Handed::Spanned:
        return true; // made for every monitor's place in the whole layout
    case Handed::Composed:
        if (row.drawsSpan && after.outputs.size() > 1)
            return true; // from now on spanned: a smaller monitor added took a stretched copy
        if (row.pictures != Pictures::PerOutput)
            return largestOutput(before.outputs) != largestOutput(after.outputs);
        return namesAndSizes(before) != namesAndSizes(after);
    case Handed::Native:
        if (row.drawsSpan && after.outputs.size() > 1)
            return true; // from now on spanned
        if (row.pictures != Pictures::PerOutput || row.newOutputsTakeAll)
            return false;
        return std::any_of(after.outputs.begin(), after.outputs.end(), [&](const OutputArea &a) {
            return std::none_of(before.outputs.begin(), before.outputs.end(),
                [&](const OutputArea &b) { return a.name == b.name; });
        });
    }
    return true;
}

bool requestDeskWallpaper(Desktop desktop, const std::string &path, const DeskPlacement &placement)
{
    auto *app = qobject_cast<QGuiApplication *>(QCoreApplication::instance());
    if (!app || QThread::currentThread() != app->thread()) {
        const bool ok = applyDeskWallpaper(desktop, path, placement);
        malloc_trim(0);
        return ok;
    }
    if (!s_session)
        s_session = new DeskSession(app);
    s_session->request({desktop, path, placement});
    return true;
}

} // namespace platform::desk
