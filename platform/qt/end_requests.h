#pragma once

// Requests from outside the program to end it, for the Qt shell (Linux).

#include <QObject>

namespace platform {

/**
 * Reports requests from outside the program to end it: on Linux the signals SIGTERM, SIGINT
 * and SIGHUP, taken from their handlers to the user-interface thread through a pipe (the
 * handler itself only writes one byte).
 */
class EndRequestWatcher : public QObject
{
    Q_OBJECT
public:
    explicit EndRequestWatcher(QObject *parent = nullptr);
    ~EndRequestWatcher() override;

Q_SIGNALS:
    void endRequested();

private:
    struct Impl;
    Impl *m_impl = nullptr;
};

} // namespace platform
