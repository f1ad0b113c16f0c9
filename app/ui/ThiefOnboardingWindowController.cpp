#include "ui/ThiefOnboardingWindowController.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "settings/Settings.h"
#include "store/Localization.h"
#include "ui/SvgPixmap.h"

namespace {

QLabel* paragraph(const char* key, const char* color, QWidget* parent)
{
    auto* label = new QLabel(Localization::text(key), parent);
    label->setWordWrap(true);
    label->setStyleSheet(QStringLiteral("color: %1;").arg(QString::fromLatin1(color)));
    return label;
}

} // namespace

ThiefOnboardingWindowController::ThiefOnboardingWindowController(Settings& settings,
                                                                 std::function<void()> startScan,
                                                                 bool canSee, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , m_settings(settings)
    , m_startScan(std::move(startScan))
    , m_labelUnsupported(paragraph("THIEF_ONBOARD_DESKTOP_UNSUPPORTED", "#b35c00", this))
    , m_buttonAgree(new QPushButton(Localization::text("THIEF_ONBOARD_BUTTON_AGREE"), this))
    , m_buttonCancel(new QPushButton(Localization::text("THIEF_ONBOARD_BUTTON_CANCEL"), this))
{
    setObjectName(QStringLiteral("ThiefOnboardingView"));
    setWindowTitle(Localization::text("THIEF_ONBOARD_WINDOW_TITLE"));
    setFixedWidth(520);
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);

    auto* picture = new QLabel(this);
    picture->setPixmap(SvgPixmap::tinted(QStringLiteral("PreferencesThieves"), QSize(56, 56),
                                         QColor(0xfe, 0x2f, 0x68)));
    picture->setAlignment(Qt::AlignCenter);
    auto* quote = paragraph("THIEF_ONBOARD_QUOTE", "#313131", this);
    QFont quoteFont = quote->font();
    quoteFont.setItalic(true);
    if (quoteFont.pointSizeF() > 0)
        quoteFont.setPointSizeF(quoteFont.pointSizeF() + 3);
    quote->setFont(quoteFont);
    quote->setAlignment(Qt::AlignCenter);
    auto* notice = paragraph("THIEF_ONBOARD_NOTICE", "#313131", this);
    QFont noticeFont = notice->font();
    noticeFont.setWeight(QFont::DemiBold);
    notice->setFont(noticeFont);

    m_labelUnsupported->setVisible(!canSee);
    m_buttonAgree->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_buttonCancel);
    buttons->addWidget(m_buttonAgree);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(32, 28, 32, 24);
    layout->setSpacing(8);
    layout->addWidget(picture);
    layout->addWidget(quote);
    layout->addSpacing(6);
    layout->addWidget(notice);
    layout->addWidget(paragraph("THIEF_ONBOARD_EXPLANATION_ONE", "#555555", this));
    layout->addWidget(paragraph("THIEF_ONBOARD_EXPLANATION_TWO", "#555555", this));
    layout->addWidget(paragraph("THIEF_ONBOARD_EXPLANATION_THREE", "#555555", this));
    layout->addWidget(paragraph("THIEF_ONBOARD_LABEL_BROWSERS", "#999999", this));
    layout->addWidget(m_labelUnsupported);
    layout->addSpacing(8);
    layout->addLayout(buttons);

    connect(m_buttonAgree, &QPushButton::clicked, this,
            &ThiefOnboardingWindowController::doAgreeButtonTap);
    connect(m_buttonCancel, &QPushButton::clicked, this,
            &ThiefOnboardingWindowController::doCancelButtonTap);
}

void ThiefOnboardingWindowController::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    m_settings.setBool(Settings::ThievesOnboardingNotDone, false);
}

void ThiefOnboardingWindowController::doAgreeButtonTap()
{
    m_settings.setBool(Settings::ThievesScanAllowByUser, true);
    if (m_startScan)
        m_startScan();
    close();
}

void ThiefOnboardingWindowController::doCancelButtonTap()
{
    m_settings.setBool(Settings::ThievesScanAllowByUser, false);
    close();
}
