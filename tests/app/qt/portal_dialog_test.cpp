// The Add dialog through the desktop portal: a portal of the test's own answers on a private
// session bus (run under dbus-run-session), in a thread of its own as a real one answers from
// its own process. The window asks it for a dialog and takes what it answers byte for byte;
// a cancel chooses nothing; an end request closes the portal's dialog; a platform theme the
// user names keeps the toolkit's dialog.
#include "app/qt/main_window.h"
#include "app/qt/portal_file_dialog.h"

#include <QApplication>
#include <QDBusAbstractAdaptor>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QFileDialog>
#include <QMutex>
#include <QThread>
#include <QTimer>
#include <QtTest>

#include <atomic>

namespace {

/** What the portal was asked, and how it is to answer. */
struct PortalScript
{
    QMutex lock;
    // the answer: a response code and its URIs; no answer at all when `silent`
    uint code = 0;
    QStringList uris;
    bool silent = false;
    // what was asked
    int openCalls = 0;
    QString title;
    bool multiple = false;
    bool modal = false;
    QString filterSignature;
    QStringList filterLabels;
    QStringList filterPatterns;
    QStringList closed; // request handles closed
};

class RequestObject : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Request")
public:
    RequestObject(PortalScript &script, QString handle)
        : m_script(script)
        , m_handle(std::move(handle))
    {
    }
public Q_SLOTS:
    void Close()
    {
        QMutexLocker hold(&m_script.lock);
        m_script.closed << m_handle;
    }

private:
    PortalScript &m_script;
    QString m_handle;
};

class FileChooserAdaptor : public QDBusAbstractAdaptor
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.FileChooser")
    Q_PROPERTY(uint version READ version)
public:
    FileChooserAdaptor(QObject *parent, PortalScript &script, QDBusConnection bus)
        : QDBusAbstractAdaptor(parent)
        , m_script(script)
        , m_bus(bus)
    {
    }
    uint version() const { return 3; }

public Q_SLOTS:
    QDBusObjectPath OpenFile(const QString &, const QString &title, const QVariantMap &options,
        const QDBusMessage &message)
    {
        QString sender = message.service().mid(1);
        sender.replace(u'.', u'_');
        const QString handle = QStringLiteral("/org/freedesktop/portal/desktop/request/") + sender
            + u'/' + options.value(QStringLiteral("handle_token")).toString();
        auto *request = new RequestObject(m_script, handle);
        request->setParent(this);
        m_bus.registerObject(handle, request, QDBusConnection::ExportAllSlots);
        uint code = 0;
        QStringList uris;
        bool silent = false;
        {
            QMutexLocker hold(&m_script.lock);
            ++m_script.openCalls;
            m_script.title = title;
            m_script.multiple = options.value(QStringLiteral("multiple")).toBool();
            m_script.modal = options.value(QStringLiteral("modal")).toBool();
            const auto filters
                = qvariant_cast<QDBusArgument>(options.value(QStringLiteral("filters")));
            m_script.filterSignature = filters.currentSignature();
            filters.beginArray();
            while (!filters.atEnd()) {
                QString label;
                filters.beginStructure();
                filters >> label;
                m_script.filterLabels << label;
                filters.beginArray();
                while (!filters.atEnd()) {
                    uint kind = 0;
                    QString pattern;
                    filters.beginStructure();
                    filters >> kind >> pattern;
                    filters.endStructure();
                    m_script.filterPatterns << QString::number(kind) + u':' + pattern;
                }
                filters.endArray();
                filters.endStructure();
            }
            filters.endArray();
            code = m_script.code;
            uris = m_script.uris;
            silent = m_script.silent;
        }
        if (!silent) {
            // The answer comes later, as a signal of the request object.
            QTimer::singleShot(50, this, [this, handle, code, uris] {
                QDBusMessage response = QDBusMessage::createSignal(handle,
                    QStringLiteral("org.freedesktop.portal.Request"), QStringLiteral("Response"));
                response << code << QVariantMap {{QStringLiteral("uris"), uris}};
                m_bus.send(response);
            });
        }
        return QDBusObjectPath(handle);
    }

private:
    PortalScript &m_script;
    QDBusConnection m_bus;
};

/** The portal's process: its own bus connection and thread. */
class FakePortal : public QThread
{
public:
    PortalScript script;
    std::atomic<bool> ready {false};

protected:
    void run() override
    {
        QDBusConnection bus
            = QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("portal"));
        QObject desktop;
        new FileChooserAdaptor(&desktop, script, bus);
        bus.registerObject(QStringLiteral("/org/freedesktop/portal/desktop"), &desktop,
            QDBusConnection::ExportAdaptors);
        ready = bus.registerService(QStringLiteral("org.freedesktop.portal.Desktop"));
        exec();
        bus.unregisterService(QStringLiteral("org.freedesktop.portal.Desktop"));
    }
};

const core::OpenDialogRequest addRequest {"bmp", {{"*.bmp", "*.bmp"}}, true};

} // namespace

class PortalDialogTest : public QObject
{
    Q_OBJECT
    FakePortal portal;
    std::unique_ptr<qtshell::MainWindow> window;

private Q_SLOTS:
    void initTestCase()
    {
        portal.start();
        QTRY_VERIFY(portal.ready.load());
        window = std::make_unique<qtshell::MainWindow>();
        QVERIFY(qtshell::PortalFileDialog::available());
    }

    void cleanupTestCase()
    {
        window.reset();
        portal.quit();
        portal.wait();
    }

    void theChosenFilesComeBackByteForByte()
    {
        {
            QMutexLocker hold(&portal.script.lock);
            portal.script.code = 0;
            portal.script.silent = false;
            portal.script.uris = {QStringLiteral("file:///home/u/a%20b.bmp"),
                QStringLiteral("file:///home/u/%E9t%E9%25.bmp"), // Latin-1 bytes, not UTF-8
                QStringLiteral("https://example.org/c.bmp")};
        }
        const std::vector<std::string> names = window->openDialog(addRequest);
        QCOMPARE(names, (std::vector<std::string> {"/home/u/a b.bmp", "/home/u/\xE9t\xE9%.bmp"}));
        QMutexLocker hold(&portal.script.lock);
        QCOMPARE(portal.script.openCalls, 1);
        QVERIFY(portal.script.multiple);
        QVERIFY(portal.script.modal);
        QVERIFY(!portal.script.title.isEmpty());
        QCOMPARE(portal.script.filterSignature, QStringLiteral("a(sa(us))"));
        QCOMPARE(portal.script.filterLabels, QStringList {QStringLiteral("*.bmp")});
        QCOMPARE(portal.script.filterPatterns, QStringList {QStringLiteral("0:*.bmp")});
        QVERIFY(!QApplication::activeModalWidget());
    }

    void aCancelChoosesNothing()
    {
        {
            QMutexLocker hold(&portal.script.lock);
            portal.script.code = 1;
            portal.script.uris = {QStringLiteral("file:///home/u/a.bmp")};
        }
        QVERIFY(window->openDialog(addRequest).empty());
    }

    void anEndRequestClosesThePortalsDialog()
    {
        {
            QMutexLocker hold(&portal.script.lock);
            portal.script.silent = true;
            portal.script.closed.clear();
        }
        QTimer::singleShot(300, window.get(), [this] { window->closeModals(); });
        QVERIFY(window->openDialog(addRequest).empty());
        QTRY_COMPARE(portal.script.closed.size(), qsizetype(1));
        QVERIFY(portal.script.closed.front().endsWith(QStringLiteral("murelin3")));
    }

    void aPlatformThemeTheUserNamesKeepsTheToolkitsDialog()
    {
        int before = 0;
        {
            QMutexLocker hold(&portal.script.lock);
            before = portal.script.openCalls;
        }
        qputenv("QT_QPA_PLATFORMTHEME", "their-own");
        bool toolkits = false;
        QTimer::singleShot(300, window.get(), [&] {
            auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            toolkits = dialog != nullptr;
            if (QWidget *modal = QApplication::activeModalWidget())
                static_cast<QDialog *>(modal)->reject();
        });
        QVERIFY(window->openDialog(addRequest).empty());
        qunsetenv("QT_QPA_PLATFORMTHEME");
        QVERIFY(toolkits);
        QMutexLocker hold(&portal.script.lock);
        QCOMPARE(portal.script.openCalls, before);
    }
};

QTEST_MAIN(PortalDialogTest)
#include "portal_dialog_test.moc"
