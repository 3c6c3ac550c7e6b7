#include "platform/shell.h"

namespace platform {

// The end of the Windows session reaches the program as the toolkit's session-end request.
struct EndRequestWatcher::Impl
{
};

EndRequestWatcher::EndRequestWatcher(QObject *parent)
    : QObject(parent)
    , m_impl(new Impl)
{
}

EndRequestWatcher::~EndRequestWatcher()
{
    delete m_impl;
}

} // namespace platform
