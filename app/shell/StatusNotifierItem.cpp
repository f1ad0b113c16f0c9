#include "shell/StatusNotifierItem.h"

#include <atomic>

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QImage>
#include <QMenu>
#include <QtEndian>

#include "shell/DBusMenuExporter.h"
#include "shell/StatusNotifierItemAdaptor.h"

namespace {

// Hosts pick the size closest to their panel; these cover the common panel heights.
constexpr int kPixmapSizes[] = {16, 22, 24, 32, 48, 64};

SniPixmap toSniPixmap(const QImage& source)
{
    const QImage image = source.convertToFormat(QImage::Format_ARGB32);
    SniPixmap pixmap{image.width(), image.height(), {}};
    pixmap.data.resize(qsizetype(image.width()) * image.height() * 4);
    auto* out = reinterpret_cast<uchar*>(pixmap.data.data());
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x, out += 4)
            qToBigEndian<quint32>(line[x], out);
    }
    return pixmap;
}

} // namespace

StatusNotifierItem::StatusNotifierItem(QDBusConnection connection, QMenu* menu, QObject* parent)
    : QObject(parent)
    , m_connection(std::move(connection))
    , m_menu(menu)
{
    registerStatusNotifierTypes();
    static std::atomic<int> counter = 0;
    m_serviceName = QStringLiteral("org.kde.StatusNotifierItem-%1-%2")
                        .arg(QCoreApplication::applicationPid())
                        .arg(++counter);
    m_adaptor = new StatusNotifierItemAdaptor(*this);
    m_menuExporter = new DBusMenuExporter(m_connection, kMenuPath, menu, this);
    m_exported = m_connection.isConnected() && m_menuExporter->isRegistered() &&
                 m_connection.registerObject(kItemPath, this) &&
                 m_connection.registerService(m_serviceName);
    if (!m_exported)
        qWarning("Cannot export the tray item on the session bus: %s",
                 qPrintable(m_connection.lastError().message()));
}

StatusNotifierItem::~StatusNotifierItem()
{
    if (m_exported) {
        m_connection.unregisterService(m_serviceName);
        m_connection.unregisterObject(kItemPath);
    }
}

bool StatusNotifierItem::isWatcherPresent(const QDBusConnection& connection)
{
    const QDBusConnectionInterface* bus =
        connection.isConnected() ? connection.interface() : nullptr;
    return bus && bus->isServiceRegistered(kWatcherService).value();
}

void StatusNotifierItem::show()
{
    if (m_shown)
        return;
    m_shown = true;
    registerWithWatcher();
}

void StatusNotifierItem::registerWithWatcher()
{
    if (!m_exported)
        return;
    QDBusMessage call = QDBusMessage::createMethodCall(
        kWatcherService, QStringLiteral("/StatusNotifierWatcher"), kWatcherService,
        QStringLiteral("RegisterStatusNotifierItem"));
    call << m_serviceName;
    // Asynchronous: the watcher lives in the panel, which may be slow to answer at login.
    auto* pending = new QDBusPendingCallWatcher(m_connection.asyncCall(call), this);
    connect(pending, &QDBusPendingCallWatcher::finished, this,
            [this](QDBusPendingCallWatcher* watcher) {
                watcher->deleteLater();
                const QDBusPendingReply<> reply = *watcher;
                m_registered = !reply.isError();
                if (reply.isError())
                    qWarning("The tray host refused the tray item: %s",
                             qPrintable(reply.error().message()));
                emit registrationFinished(m_registered);
            });
}

void StatusNotifierItem::setIcon(const QIcon& icon)
{
    SniPixmapList pixmaps;
    for (int size : kPixmapSizes) {
        const QPixmap pixmap = icon.pixmap(QSize(size, size));
        if (!pixmap.isNull())
            pixmaps.append(toSniPixmap(pixmap.toImage()));
    }
    m_pixmaps = pixmaps;
    emit m_adaptor->NewIcon();
}

void StatusNotifierItem::setStatusTitle(const QString& title)
{
    if (title == m_statusTitle)
        return;
    const QString previousLabel = label();
    m_statusTitle = title;
    if (label() != previousLabel)
        emit m_adaptor->XAyatanaNewLabel(label(), kLabelGuide);
}

void StatusNotifierItem::setToolTipText(const QString& text)
{
    if (text == m_toolTipText)
        return;
    m_toolTipText = text;
    emit m_adaptor->NewToolTip();
}

void StatusNotifierItem::showContextMenu(const QPoint& position)
{
    if (m_menu)
        m_menu->popup(position);
}
