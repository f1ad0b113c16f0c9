#include "ui/AboutWindowController.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSvgRenderer>
#include <QVBoxLayout>

#include "ColorHelpers.h"
#include "store/Localization.h"

namespace {

// The version this build was made as, for when the application did not set one.
constexpr const char* BuildVersion = "0.1.0";
constexpr int LogoSize = 96;

QPixmap logo(qreal ratio)
{
    const int side = qRound(LogoSize * ratio);
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    QSvgRenderer(QStringLiteral(":/zestra/images/org.zestra.Zestra.svg")).render(&painter);
    painter.end();
    QPixmap pixmap = QPixmap::fromImage(image);
    pixmap.setDevicePixelRatio(ratio);
    return pixmap;
}

QLabel* centred(const QString& text)
{
    auto* label = new QLabel(text);
    label->setAlignment(Qt::AlignHCenter);
    label->setWordWrap(true);
    return label;
}

void greyed(QLabel* label, qreal scale)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, ColorHelpers::color(QStringLiteral("#999999")));
    label->setPalette(palette);
    QFont font = label->font();
    font.setPointSizeF(font.pointSizeF() * scale);
    label->setFont(font);
}

} // namespace

QUrl AboutWindowController::websiteUrl()
{
    return QUrl(QStringLiteral("https://zestra.org"));
}

QUrl AboutWindowController::supportUrl()
{
    return QUrl(QStringLiteral("https://zestra.org/support"));
}

QString AboutWindowController::versionText()
{
    const QString running = QCoreApplication::applicationVersion();
    return running.isEmpty() ? QString::fromLatin1(BuildVersion) : running;
}

AboutWindowController::AboutWindowController(UrlOpener openUrl, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , m_openUrl(openUrl ? std::move(openUrl) : UrlOpener(&QDesktopServices::openUrl))
{
    setObjectName(QStringLiteral("AboutWindowController"));
    setWindowTitle(Localization::text("ABOUT_WINDOW_TITLE"));

    labelLogo = new QLabel;
    labelLogo->setAlignment(Qt::AlignHCenter);
    labelLogo->setPixmap(logo(devicePixelRatioF()));

    labelName = centred(QStringLiteral("Zestra"));
    QFont nameFont = labelName->font();
    nameFont.setPointSizeF(nameFont.pointSizeF() * 1.8);
    nameFont.setBold(true);
    labelName->setFont(nameFont);

    labelVersion = centred(Localization::text("ABOUT_VERSION").arg(versionText()));
    labelVersion->setTextInteractionFlags(Qt::TextSelectableByMouse);
    greyed(labelVersion, 0.95);

    labelDescription = centred(Localization::text("ABOUT_DESCRIPTION"));
    labelCredits = centred(Localization::text("ABOUT_CREDITS"));
    greyed(labelCredits, 0.9);

    buttonWebsite = new QPushButton(Localization::text("ABOUT_WEBSITE_BUTTON"));
    buttonWebsite->setObjectName(QStringLiteral("buttonWebsite"));
    buttonWebsite->setDefault(true);
    buttonSupport = new QPushButton(Localization::text("ABOUT_SUPPORT_BUTTON"));
    buttonSupport->setObjectName(QStringLiteral("buttonSupport"));
    connect(buttonWebsite, &QPushButton::clicked, this, &AboutWindowController::doOpenWebsite);
    connect(buttonSupport, &QPushButton::clicked, this, &AboutWindowController::doOpenSupport);

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(8);
    buttons->addStretch(1);
    buttons->addWidget(buttonWebsite);
    buttons->addWidget(buttonSupport);
    buttons->addStretch(1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(32, 28, 32, 24);
    layout->setSpacing(6);
    layout->addWidget(labelLogo);
    layout->addSpacing(8);
    layout->addWidget(labelName);
    layout->addWidget(labelVersion);
    layout->addSpacing(12);
    layout->addWidget(labelDescription);
    layout->addSpacing(10);
    layout->addWidget(labelCredits);
    layout->addSpacing(18);
    layout->addLayout(buttons);

    setFixedWidth(360);
    setFixedHeight(heightForWidth(360) > 0 ? heightForWidth(360) : sizeHint().height());
}

void AboutWindowController::doOpenWebsite()
{
    m_openUrl(websiteUrl());
}

void AboutWindowController::doOpenSupport()
{
    m_openUrl(supportUrl());
}
