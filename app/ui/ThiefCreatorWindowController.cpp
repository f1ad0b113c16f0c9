#include "ui/ThiefCreatorWindowController.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "store/DataController.h"
#include "store/Localization.h"
#include "thieves/ThiefImages.h"
#include "ui/ThiefForms.h"

ThiefCreatorWindowController::ThiefCreatorWindowController(DataController& store, QWidget* parent)
    : QDialog(parent)
    , m_store(store)
    , m_textName(new QLineEdit(this))
    , m_textDomain(new QLineEdit(this))
    , m_labelError(new QLabel(this))
    , m_buttonSave(new QPushButton(Localization::text("THIEF_WEBSITE_BUTTON_SAVE"), this))
    , m_buttonClose(new QPushButton(Localization::text("THIEF_WEBSITE_BUTTON_CLOSE"), this))
{
    setObjectName(QStringLiteral("ThiefCreatorWindow"));
    setWindowTitle(Localization::text("THIEF_WEBSITE_TITLE"));
    setWindowModality(Qt::WindowModal);
    setFixedWidth(480);

    auto* title = new QLabel(Localization::text("THIEF_WEBSITE_TITLE"), this);
    QFont titleFont = title->font();
    titleFont.setWeight(QFont::DemiBold);
    if (titleFont.pointSizeF() > 0)
        titleFont.setPointSizeF(titleFont.pointSizeF() + 4);
    title->setFont(titleFont);
    auto* tagline = new QLabel(Localization::text("THIEF_WEBSITE_TAGLINE"), this);
    tagline->setWordWrap(true);
    tagline->setStyleSheet(QStringLiteral("color: #777777;"));

    m_textName->setMaxLength(ThiefForms::maximumNameLength);
    m_textName->setPlaceholderText(QStringLiteral("YouTube"));
    m_textDomain->setPlaceholderText(QStringLiteral("youtube.com"));
    auto* help = new QLabel(Localization::text("THIEF_WEBSITE_LABEL_DOMAIN_HELP"), this);
    help->setWordWrap(true);
    help->setStyleSheet(QStringLiteral("color: #999999;"));
    m_labelError->setStyleSheet(QStringLiteral("color: #d81c1c;"));
    m_labelError->setWordWrap(true);
    m_labelError->setTextFormat(Qt::PlainText);
    m_labelError->hide();

    auto* form = new QFormLayout;
    form->addRow(Localization::text("THIEF_WEBSITE_LABEL_NAME"), m_textName);
    form->addRow(Localization::text("THIEF_WEBSITE_LABEL_DOMAIN"), m_textDomain);
    form->addRow(QString(), help);

    m_buttonSave->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_buttonClose);
    buttons->addWidget(m_buttonSave);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 20, 24, 20);
    layout->setSpacing(10);
    layout->addWidget(title);
    layout->addWidget(tagline);
    layout->addSpacing(6);
    layout->addLayout(form);
    layout->addWidget(m_labelError);
    layout->addStretch(1);
    layout->addLayout(buttons);

    connect(m_buttonSave, &QPushButton::clicked, this,
            &ThiefCreatorWindowController::doSaveButtonTap);
    connect(m_buttonClose, &QPushButton::clicked, this, &QDialog::reject);
}

void ThiefCreatorWindowController::doSaveButtonTap()
{
    QString error;
    const std::optional<QVariantMap> dictionary =
        ThiefForms::website(m_textName->text(), m_textDomain->text(), error);
    if (!dictionary) {
        m_labelError->setText(error);
        m_labelError->show();
        adjustSize();
        return;
    }
    m_store.addThieve(*dictionary, ThiefImages::namedOrGeneric(
                                       dictionary->value(QStringLiteral("identifier")).toString()));
    // A store that could not save keeps the sheet open with the reason, the input intact.
    if (const std::optional<QString> failure = m_store.lastError()) {
        m_labelError->setText(Localization::text("THIEF_SAVE_FAILED").arg(*failure));
        m_labelError->show();
        return;
    }
    m_success = true;
    done(1);
}
