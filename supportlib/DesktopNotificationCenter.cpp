#include "DesktopNotificationCenter.h"

#include <atomic>

#include <QByteArray>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusPendingCall>
#include <QDBusPendingCallWatcher>
#include <QDebug>
#include <QImage>
#include <QMetaType>
#include <QObject>
#include <QPainter>
#include <QStringList>
#include <QSvgRenderer>
#include <QVariantMap>

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kAppName = QStringLiteral("Zestra");
const QString kAppIdentifier = QStringLiteral("org.zestra.Zestra");
const QString kIdentifierHint = QStringLiteral("x-zestra-identifier");
constexpr int kSvgSide = 128;
constexpr int kReplyTimeoutMs = 10000;

// The "image-data" hint, D-Bus signature (iiibiiay).
struct DesktopNotificationImage {
    int width = 0;
    int height = 0;
    int rowstride = 0;
    bool hasAlpha = true;
    int bitsPerSample = 8;
    int channels = 4;
    QByteArray data;
};

QDBusArgument& operator<<(QDBusArgument& argument, const DesktopNotificationImage& image)
{
    argument.beginStructure();
    argument << image.width << image.height << image.rowstride << image.hasAlpha
             << image.bitsPerSample << image.channels << image.data;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, DesktopNotificationImage& image)
{
    argument.beginStructure();
    argument >> image.width >> image.height >> image.rowstride >> image.hasAlpha >>
        image.bitsPerSample >> image.channels >> image.data;
    argument.endStructure();
    return argument;
}

} // namespace

Q_DECLARE_METATYPE(DesktopNotificationImage)

namespace {

bool looksLikeSvg(const QByteArray& data)
{
    // gzip magic covers .svgz; anything else must name the svg element early on.
    return data.startsWith("\x1f\x8b") || data.left(4096).contains("<svg");
}

QImage decodeContentImage(const QByteArray& data)
{
    if (data.isEmpty())
        return {};
    // Checked first: with Qt's SVG image plugin QImage would also read it, at its own size.
    if (looksLikeSvg(data)) {
        QSvgRenderer renderer(data);
        if (!renderer.isValid())
            return {};
        renderer.setAspectRatioMode(Qt::KeepAspectRatio);
        QImage canvas(kSvgSide, kSvgSide, QImage::Format_ARGB32_Premultiplied);
        canvas.fill(Qt::transparent);
        QPainter painter(&canvas);
        renderer.render(&painter);
        painter.end();
        return canvas;
    }
    return QImage::fromData(data);
}

std::optional<DesktopNotificationImage> imageHint(const QByteArray& contentImage)
{
    const QImage decoded = decodeContentImage(contentImage);
    if (decoded.isNull())
        return std::nullopt;
    // Byte order R, G, B, A on every host, not premultiplied, as the hint expects.
    const QImage rgba = decoded.convertToFormat(QImage::Format_RGBA8888);
    DesktopNotificationImage image;
    image.width = rgba.width();
    image.height = rgba.height();
    image.rowstride = static_cast<int>(rgba.bytesPerLine());
    image.data = QByteArray(reinterpret_cast<const char*>(rgba.constBits()),
                            static_cast<qsizetype>(rgba.sizeInBytes()));
    return image;
}

QVariantMap hintsFor(const UserNotification& notification)
{
    QVariantMap hints;
    hints.insert(QStringLiteral("desktop-entry"), kAppIdentifier);
    if (!notification.identifier.isEmpty())
        hints.insert(kIdentifierHint, notification.identifier);
    if (const auto image = imageHint(notification.contentImage)) {
        static const int registered = qDBusRegisterMetaType<DesktopNotificationImage>().id();
        Q_UNUSED(registered);
        hints.insert(QStringLiteral("image-data"), QVariant::fromValue(*image));
    }
    return hints;
}

QString nextConnectionName()
{
    static std::atomic<int> counter = 0;
    return QStringLiteral("zestra-notifications-%1").arg(++counter);
}

} // namespace

DesktopNotificationCenter::DesktopNotificationCenter()
    : m_calls(std::make_unique<QObject>())
{}

DesktopNotificationCenter::DesktopNotificationCenter(const QString& busAddress)
    : m_busAddress(busAddress)
    , m_connectionName(nextConnectionName())
    , m_calls(std::make_unique<QObject>())
{}

DesktopNotificationCenter::~DesktopNotificationCenter()
{
    m_calls.reset();
    if (m_busAddress && m_connectionOpened)
        QDBusConnection::disconnectFromBus(m_connectionName);
}

QDBusConnection DesktopNotificationCenter::connection()
{
    if (!m_busAddress)
        return QDBusConnection::sessionBus();
    // One attempt only: a bus that is not there is not retried on every notification.
    if (!m_connectionOpened) {
        m_connectionOpened = true;
        return QDBusConnection::connectToBus(*m_busAddress, m_connectionName);
    }
    return QDBusConnection(m_connectionName);
}

void DesktopNotificationCenter::deliver(const UserNotification& notification)
{
    QDBusConnection bus = connection();
    if (!bus.isConnected()) {
        reportFailureOnce(bus.lastError().message());
        return;
    }
    QDBusMessage call =
        QDBusMessage::createMethodCall(kService, kPath, kService, QStringLiteral("Notify"));
    call << kAppName << 0u << kAppIdentifier << notification.title << notification.informativeText
         << QStringList() << hintsFor(notification) << -1;

    auto* watcher =
        new QDBusPendingCallWatcher(bus.asyncCall(call, kReplyTimeoutMs), m_calls.get());
    ++m_callsInFlight;
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher,
                     [this](QDBusPendingCallWatcher* finished) {
                         --m_callsInFlight;
                         if (finished->isError())
                             reportFailureOnce(finished->error().message());
                         finished->deleteLater();
                     });
}

int DesktopNotificationCenter::callsInFlight() const
{
    return m_callsInFlight;
}

void DesktopNotificationCenter::reportFailureOnce(const QString& message)
{
    if (m_reportedFailure)
        return;
    m_reportedFailure = true;
    qDebug().noquote() << "Notifications are not shown:" << message;
}
