#include "thieves/KWinFrontmostSource.h"

#include <QAtomicInteger>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDir>
#include <QFile>
#include <QMetaClassInfo>

#include "thieves/KWinWindowReport.h"

namespace {

const QString kwinService = QStringLiteral("org.kde.KWin");
const QString scriptingPath = QStringLiteral("/Scripting");
const QString scriptingInterface = QStringLiteral("org.kde.kwin.Scripting");
const QString scriptInterface = QStringLiteral("org.kde.kwin.Script");
// A KWin that hangs must not hold up the start of the scan for long.
constexpr int callTimeoutMs = 2000;

QString connectionName()
{
    static QAtomicInteger<int> count;
    return QStringLiteral("zestra-kwin-frontmost-%1").arg(count.fetchAndAddRelaxed(1));
}

// KWin reads the script from a file; the runtime folder is private to the user.
QString scriptFolderTemplate()
{
    const QString runtime = QString::fromLocal8Bit(qgetenv("XDG_RUNTIME_DIR"));
    const QString base = !runtime.isEmpty() && QDir(runtime).exists() ? runtime : QDir::tempPath();
    return base + QStringLiteral("/zestra-kwin-XXXXXX");
}

const char* reportInterface()
{
    const QMetaObject& meta = KWinWindowReport::staticMetaObject;
    return meta.classInfo(meta.indexOfClassInfo("D-Bus Interface")).value();
}

} // namespace

KWinFrontmostSource::KWinFrontmostSource()
    : m_connectionName(connectionName())
    , m_bus(QDBusConnection::connectToBus(QDBusConnection::SessionBus, m_connectionName))
    , m_scriptDir(scriptFolderTemplate())
{
    m_thread.setObjectName(QStringLiteral("KWinWindowReport"));
    if (!m_bus.isConnected() || !m_bus.interface() ||
        !m_bus.interface()->isServiceRegistered(kwinService).value())
        return;
    m_report = new KWinWindowReport(m_bus);
    m_report->moveToThread(&m_thread);
    m_thread.start();
    if (m_bus.registerObject(QLatin1String(reportPath), m_report,
                             QDBusConnection::ExportScriptableSlots))
        m_loaded = loadScript();
}

KWinFrontmostSource::~KWinFrontmostSource()
{
    if (m_loaded && !m_report->isKWinGone())
        callKWin(scriptingPath, scriptingInterface, QStringLiteral("unloadScript"),
                 {QLatin1String(pluginName)});
    if (m_report) {
        m_bus.unregisterObject(QLatin1String(reportPath));
        // Deleted on its own thread as that thread ends.
        m_report->deleteLater();
        m_thread.quit();
        m_thread.wait();
    }
    m_bus = QDBusConnection(QString());
    QDBusConnection::disconnectFromBus(m_connectionName);
}

QDBusMessage KWinFrontmostSource::callKWin(const QString& path, const QString& interface,
                                           const QString& method, const QVariantList& arguments)
{
    QDBusMessage message = QDBusMessage::createMethodCall(kwinService, path, interface, method);
    message.setArguments(arguments);
    return m_bus.call(message, QDBus::Block, callTimeoutMs);
}

bool KWinFrontmostSource::loadScript()
{
    const std::optional<QString> file = writeScript();
    if (!file)
        return false;
    // A script left loaded by a run that crashed would keep the name taken.
    const QDBusMessage unloaded =
        callKWin(scriptingPath, scriptingInterface, QStringLiteral("unloadScript"),
                 {QLatin1String(pluginName)});
    if (unloaded.type() != QDBusMessage::ReplyMessage)
        return false;
    const QDBusMessage loaded =
        callKWin(scriptingPath, scriptingInterface, QStringLiteral("loadScript"),
                 {*file, QLatin1String(pluginName)});
    if (loaded.type() != QDBusMessage::ReplyMessage || loaded.arguments().isEmpty())
        return false;
    const int id = loaded.arguments().constFirst().toInt();
    if (id < 0)
        return false;
    // Plasma 6 and late Plasma 5 put the script at /Scripting/Script<id>, early Plasma 5 at
    // /<id>; starting every loaded script is the last resort.
    for (const QString& path :
         {QStringLiteral("/Scripting/Script%1").arg(id), QStringLiteral("/%1").arg(id)}) {
        if (callKWin(path, scriptInterface, QStringLiteral("run")).type() ==
            QDBusMessage::ReplyMessage)
            return true;
    }
    if (callKWin(scriptingPath, scriptingInterface, QStringLiteral("start")).type() ==
        QDBusMessage::ReplyMessage)
        return true;
    callKWin(scriptingPath, scriptingInterface, QStringLiteral("unloadScript"),
             {QLatin1String(pluginName)});
    return false;
}

std::optional<QString> KWinFrontmostSource::writeScript()
{
    if (!m_scriptDir.isValid())
        return std::nullopt;
    QFile resource(QStringLiteral(":/tallycore/thieves/kwin/frontmost-window.js"));
    if (!resource.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray script = resource.readAll()
                                  .replace("@SERVICE@", m_bus.baseService().toUtf8())
                                  .replace("@PATH@", reportPath)
                                  .replace("@INTERFACE@", reportInterface());
    const QString path = m_scriptDir.filePath(QStringLiteral("frontmost-window.js"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(script) != script.size())
        return std::nullopt;
    return path;
}

bool KWinFrontmostSource::canSee() const
{
    return m_loaded && !m_report->isKWinGone();
}

std::optional<FrontmostApplication> KWinFrontmostSource::frontmost()
{
    if (!canSee())
        return std::nullopt;
    const std::optional<QString> name = m_report->desktopFileName();
    if (!name || name->isEmpty())
        return std::nullopt;
    if (!m_last || *name != m_lastName) {
        FrontmostApplication application;
        if (const std::optional<DesktopEntry> entry = m_entries.match(*name, *name, QString())) {
            application.identifier = entry->id;
            application.name = entry->name;
            application.icon = entry->icon;
        } else {
            application.name = *name;
        }
        m_last = application;
        m_lastName = *name;
    }
    return m_last;
}
