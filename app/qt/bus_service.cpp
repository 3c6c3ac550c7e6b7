#include "app/qt/bus_service.h"

#include "murelin1_adaptor.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QVariantMap>

namespace qtshell {

namespace {

const QString ServiceName = QStringLiteral("org.tovrane.Murelin");
const QString ObjectPath = QStringLiteral("/org/tovrane/Murelin");
const QString InterfaceName = QStringLiteral("org.tovrane.Murelin1");

QByteArray bytes(const std::string &text)
{
    return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

BusService::BusService(TForm1 &form, QObject *parent)
    : QObject(parent)
    , m_remote(form,
          [this](unsigned changes, const core::PublicState &state) { announce(changes, state); })
{
    new Murelin1Adaptor(this);
}

BusService::~BusService()
{
    if (!m_published)
        return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.unregisterService(ServiceName);
    bus.unregisterObject(ObjectPath);
}

bool BusService::publish()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    // The object first, so that whoever sees the name appear finds it.
    if (!bus.registerObject(ObjectPath, this, QDBusConnection::ExportAdaptors))
        return false;
    // Never queued for the name: a program that holds it keeps it, and this one goes on
    // without the bus.
    QDBusConnectionInterface *names = bus.interface();
    const auto taken = [&] {
        const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply
            = names->registerService(ServiceName, QDBusConnectionInterface::DontQueueService,
                QDBusConnectionInterface::DontAllowReplacement);
        return reply.isValid() && reply.value() == QDBusConnectionInterface::ServiceRegistered;
    };
    if (!names || !taken()) {
        bus.unregisterObject(ObjectPath);
        return false;
    }
    m_published = true;
    return true;
}

int BusService::count() const
{
    return m_remote.state().count;
}

int BusService::currentIndex() const
{
    return m_remote.state().currentIndex;
}

QByteArray BusService::currentPicture() const
{
    return bytes(m_remote.state().currentPicture);
}

void BusService::Next()
{
    call(core::Command::Next);
}

void BusService::Prev()
{
    call(core::Command::Prev);
}

void BusService::LoadCurrent()
{
    call(core::Command::LoadCurrent);
}

void BusService::ShowWindow()
{
    call(core::Command::ShowWindow);
}

void BusService::call(core::Command command)
{
    // The reply goes when the handler has ended: a caller reading CurrentIndex afterwards reads
    // the new value.
    switch (m_remote.run(command)) {
    case core::CommandResult::Done:
        return;
    case core::CommandResult::Busy:
        sendErrorReply(InterfaceName + QStringLiteral(".Error.Busy"),
            QStringLiteral("Murelin waits for an answer in one of its windows"));
        return;
    case core::CommandResult::Failed:
        sendErrorReply(InterfaceName + QStringLiteral(".Error.Failed"),
            QString::fromLocal8Bit(m_remote.failure()));
        return;
    }
}

void BusService::announce(unsigned changes, const core::PublicState &state)
{
    if (!m_published)
        return;
    QVariantMap changed;
    if (changes & core::CountChanged)
        changed.insert(QStringLiteral("Count"), state.count);
    if (changes & core::CurrentIndexChanged)
        changed.insert(QStringLiteral("CurrentIndex"), state.currentIndex);
    if (changes & core::CurrentPictureChanged)
        changed.insert(QStringLiteral("CurrentPicture"), bytes(state.currentPicture));
    QDBusMessage signal = QDBusMessage::createSignal(ObjectPath,
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("PropertiesChanged"));
    signal << InterfaceName << changed << QStringList();
    QDBusConnection::sessionBus().send(signal);
}

} // namespace qtshell
