#include "platform/qt/end_requests.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace platform {

namespace {

int g_pipe[2] = {-1, -1};

extern "C" void onEndSignal(int)
{
    const int saved = errno;
    const char byte = 1;
    // A full pipe already holds a request; nothing else may be done in a signal handler.
    [[maybe_unused]] const ssize_t n = ::write(g_pipe[1], &byte, 1);
    errno = saved;
}

} // namespace

struct EndRequestWatcher::Impl
{
    QSocketNotifier *notifier = nullptr;
};

EndRequestWatcher::EndRequestWatcher(QObject *parent)
    : QObject(parent)
    , m_impl(new Impl)
{
    if (g_pipe[0] < 0 && ::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    m_impl->notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, this);
    connect(m_impl->notifier, &QSocketNotifier::activated, this, [this] {
        char buf[64];
        while (::read(g_pipe[0], buf, sizeof buf) > 0) { }
        Q_EMIT endRequested();
    });
    struct sigaction action
    {
    };
    action.sa_handler = onEndSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int sig : {SIGTERM, SIGINT, SIGHUP})
        ::sigaction(sig, &action, nullptr);
}

EndRequestWatcher::~EndRequestWatcher()
{
    struct sigaction action
    {
    };
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    for (int sig : {SIGTERM, SIGINT, SIGHUP})
        ::sigaction(sig, &action, nullptr);
    delete m_impl;
}

} // namespace platform
