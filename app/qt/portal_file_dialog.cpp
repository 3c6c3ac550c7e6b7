#include "app/qt/portal_file_dialog.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QDialog>

namespace {

const QString PortalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString PortalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString FileChooser = QStringLiteral("org.freedesktop.portal.FileChooser");
const QString RequestInterface = QStringLiteral("org.freedesktop.portal.Request");

// The portal's filter list, a(sa(us)): a label and its patterns, each (0, glob).
struct Condition
{
    uint kind = 0; // 0: a glob pattern, 1: a MIME type
    QString pattern;
};
struct Filter
{
    QString label;
    QList<Condition> conditions;
};

QDBusArgument &operator<<(QDBusArgument &out, const Condition &condition)
{
    out.beginStructure();
    out << condition.kind << condition.pattern;
    out.endStructure();
    return out;
}

const QDBusArgument &operator>>(const QDBusArgument &in, Condition &condition)
{
    in.beginStructure();
    in >> condition.kind >> condition.pattern;
    in.endStructure();
    return in;
}

QDBusArgument &operator<<(QDBusArgument &out, const Filter &filter)
{
    out.beginStructure();
    out << filter.label << filter.conditions;
    out.endStructure();
    return out;
}

const QDBusArgument &operator>>(const QDBusArgument &in, Filter &filter)
{
    in.beginStructure();
    in >> filter.label >> filter.conditions;
    in.endStructure();
    return in;
}

} // namespace

Q_DECLARE_METATYPE(Condition)
Q_DECLARE_METATYPE(Filter)

namespace qtshell {

bool PortalFileDialog::available(int timeoutMs)
{
    static const bool answers = [timeoutMs] {
        QDBusConnection bus = QDBusConnection::sessionBus();
        if (!bus.isConnected())
            return false;
        QDBusMessage question = QDBusMessage::createMethodCall(PortalService, PortalPath,
            QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
        question << FileChooser << QStringLiteral("version");
        const QDBusMessage answer = bus.call(question, QDBus::Block, timeoutMs);
        return answer.type() == QDBusMessage::ReplyMessage;
    }();
    return answers;
}

std::vector<std::string> PortalFileDialog::localFiles(const QStringList &uris)
{
    std::vector<std::string> names;
    const auto hex = [](char c) -> int {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        return -1;
    };
    for (const QString &uri : uris) {
        // The name's bytes are percent-escaped in the URI; decoded here, not through a text
        // conversion, they come back as they stand even when they are not UTF-8.
        const QByteArray bytes = uri.toUtf8();
        qsizetype start = -1;
        if (bytes.startsWith("file:///"))
            start = 7;
        else if (bytes.startsWith("file://localhost/"))
            start = 16;
        if (start < 0)
            continue;
        std::string name;
        bool good = true;
        for (qsizetype i = start; i < bytes.size(); ++i) {
            const char c = bytes[i];
            if (c != '%') {
                name += c;
                continue;
            }
            const int high = i + 2 < bytes.size() ? hex(bytes[i + 1]) : -1;
            const int low = high >= 0 ? hex(bytes[i + 2]) : -1;
            if (low < 0) {
                good = false;
                break;
            }
            name += static_cast<char>(high * 16 + low);
            i += 2;
        }
        if (good && name.find('\0') == std::string::npos)
            names.push_back(std::move(name));
    }
    return names;
}

bool PortalFileDialog::ask(const PortalOpenRequest &request, QDialog &wait)
{
    qDBusRegisterMetaType<Condition>();
    qDBusRegisterMetaType<QList<Condition>>();
    qDBusRegisterMetaType<Filter>();
    qDBusRegisterMetaType<QList<Filter>>();
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;

    // The answer comes as a signal of a request object whose path the token fixes; listening
    // before asking, no answer can slip past.
    static int requests = 0;
    const QString token = QStringLiteral("murelin%1").arg(++requests);
    QString sender = bus.baseService().mid(1);
    sender.replace(u'.', u'_');
    m_handle = PortalPath + QStringLiteral("/request/") + sender + u'/' + token;
    m_answered = false;
    m_chosen.clear();
    m_wait = &wait;
    bus.connect(QString(), m_handle, RequestInterface, QStringLiteral("Response"), this,
        SLOT(response(uint, QVariantMap)));

    QList<Filter> filters;
    for (const PortalFilter &filter : request.filters) {
        Filter made {filter.label, {}};
        for (const QString &pattern : filter.patterns)
            made.conditions.push_back({0, pattern});
        filters.push_back(made);
    }
    QVariantMap options;
    options.insert(QStringLiteral("handle_token"), token);
    options.insert(QStringLiteral("modal"), true);
    options.insert(QStringLiteral("multiple"), request.multiple);
    if (!filters.isEmpty()) {
        options.insert(QStringLiteral("filters"), QVariant::fromValue(filters));
        options.insert(QStringLiteral("current_filter"), QVariant::fromValue(filters.front()));
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        PortalService, PortalPath, FileChooser, QStringLiteral("OpenFile"));
    call << request.parentWindow << request.title << options;
    const QDBusMessage reply = bus.call(call, QDBus::Block, 10000);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        bus.disconnect(QString(), m_handle, RequestInterface, QStringLiteral("Response"), this,
            SLOT(response(uint, QVariantMap)));
        m_wait = nullptr;
        return false;
    }
    const QString handle = qvariant_cast<QDBusObjectPath>(reply.arguments().front()).path();
    if (!handle.isEmpty() && handle != m_handle) {
        // An older portal names the request object itself.
        bus.disconnect(QString(), m_handle, RequestInterface, QStringLiteral("Response"), this,
            SLOT(response(uint, QVariantMap)));
        m_handle = handle;
        bus.connect(QString(), m_handle, RequestInterface, QStringLiteral("Response"), this,
            SLOT(response(uint, QVariantMap)));
    }
    // Shown modally but never on the screen: it only keeps the program's windows from taking
    // input until the portal answers.
    wait.setAttribute(Qt::WA_DontShowOnScreen);
    wait.setModal(true);
    if (m_answered)
        QMetaObject::invokeMethod(&wait, &QDialog::accept, Qt::QueuedConnection);
    return true;
}

void PortalFileDialog::response(uint code, const QVariantMap &results)
{
    if (m_answered)
        return;
    m_answered = true;
    if (code == 0) {
        const QStringList uris = results.value(QStringLiteral("uris")).toStringList();
        m_chosen = localFiles(uris);
    }
    if (m_wait)
        QMetaObject::invokeMethod(m_wait, &QDialog::accept, Qt::QueuedConnection);
}

std::vector<std::string> PortalFileDialog::finish()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.disconnect(QString(), m_handle, RequestInterface, QStringLiteral("Response"), this,
        SLOT(response(uint, QVariantMap)));
    if (!m_answered) {
        // Closed by the program (an end request): the portal's dialog goes too.
        bus.send(QDBusMessage::createMethodCall(
            PortalService, m_handle, RequestInterface, QStringLiteral("Close")));
        m_chosen.clear();
    }
    m_wait = nullptr;
    m_answered = false;
    return std::move(m_chosen);
}

} // namespace qtshell
