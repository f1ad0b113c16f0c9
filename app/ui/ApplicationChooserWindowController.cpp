#include "ui/ApplicationChooserWindowController.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "store/DataController.h"
#include "store/Localization.h"
#include "thieves/ApplicationIcon.h"
#include "ui/ThiefForms.h"
#include "ui/ThiefPicture.h"

ApplicationChooserWindowController::ApplicationChooserWindowController(DataController& store,
                                                                       QList<DesktopEntry> entries,
                                                                       QWidget* parent)
    : QDialog(parent)
    , m_store(store)
    , m_entries(std::move(entries))
    , m_textFilter(new QLineEdit(this))
    , m_listApplications(new QListWidget(this))
    , m_labelError(new QLabel(this))
    , m_buttonChoose(new QPushButton(Localization::text("THIEF_APPLICATION_BUTTON_CHOOSE"), this))
{
    setObjectName(QStringLiteral("ApplicationChooserWindow"));
    setWindowTitle(Localization::text("THIEF_APPLICATION_TITLE"));
    setWindowModality(Qt::WindowModal);
    resize(440, 520);

    std::sort(m_entries.begin(), m_entries.end(), [](const DesktopEntry& a, const DesktopEntry& b) {
        return QString::localeAwareCompare(a.name, b.name) < 0;
    });
    m_textFilter->setPlaceholderText(Localization::text("THIEF_APPLICATION_FILTER"));
    m_textFilter->setClearButtonEnabled(true);
    m_listApplications->setIconSize(QSize(28, 28));
    m_listApplications->setUniformItemSizes(true);
    for (int i = 0; i < m_entries.size(); ++i) {
        const DesktopEntry& entry = m_entries[i];
        const std::optional<QByteArray> icon =
            entry.icon ? ApplicationIcon::data(*entry.icon) : std::nullopt;
        auto* item = new QListWidgetItem(QIcon(ThiefPicture::pixmap(icon, 28, devicePixelRatioF())),
                                         entry.name);
        item->setToolTip(entry.id);
        item->setData(Qt::UserRole, i);
        m_listApplications->addItem(item);
    }
    m_labelError->setStyleSheet(QStringLiteral("color: #d81c1c;"));
    m_labelError->setWordWrap(true);
    m_labelError->setTextFormat(Qt::PlainText);
    m_labelError->hide();

    auto* chooseFile = new QPushButton(Localization::text("THIEF_APPLICATION_BUTTON_FILE"), this);
    auto* cancel = new QPushButton(Localization::text("THIEF_WEBSITE_BUTTON_CLOSE"), this);
    m_buttonChoose->setDefault(true);
    m_buttonChoose->setEnabled(false);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(chooseFile);
    buttons->addStretch(1);
    buttons->addWidget(cancel);
    buttons->addWidget(m_buttonChoose);

    auto* title = new QLabel(Localization::text("THIEF_APPLICATION_TITLE"), this);
    QFont titleFont = title->font();
    titleFont.setWeight(QFont::DemiBold);
    if (titleFont.pointSizeF() > 0)
        titleFont.setPointSizeF(titleFont.pointSizeF() + 4);
    title->setFont(titleFont);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 18, 20, 18);
    layout->addWidget(title);
    layout->addWidget(m_textFilter);
    layout->addWidget(m_listApplications, 1);
    layout->addWidget(m_labelError);
    layout->addLayout(buttons);

    connect(m_textFilter, &QLineEdit::textChanged, this,
            &ApplicationChooserWindowController::applyFilter);
    connect(m_listApplications, &QListWidget::currentItemChanged, this,
            [this](QListWidgetItem* item) { m_buttonChoose->setEnabled(item != nullptr); });
    connect(m_listApplications, &QListWidget::itemActivated, this,
            &ApplicationChooserWindowController::doChooseButtonTap);
    connect(m_buttonChoose, &QPushButton::clicked, this,
            &ApplicationChooserWindowController::doChooseButtonTap);
    connect(chooseFile, &QPushButton::clicked, this,
            &ApplicationChooserWindowController::doChooseFileButtonTap);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void ApplicationChooserWindowController::applyFilter(const QString& text)
{
    for (int row = 0; row < m_listApplications->count(); ++row) {
        QListWidgetItem* item = m_listApplications->item(row);
        item->setHidden(!item->text().contains(text, Qt::CaseInsensitive) &&
                        !item->toolTip().contains(text, Qt::CaseInsensitive));
    }
}

void ApplicationChooserWindowController::doChooseButtonTap()
{
    QListWidgetItem* item = m_listApplications->currentItem();
    if (item && !item->isHidden())
        choose(m_entries.at(item->data(Qt::UserRole).toInt()));
}

void ApplicationChooserWindowController::doChooseFileButtonTap()
{
    const QString path = QFileDialog::getOpenFileName(
        this, Localization::text("THIEF_APPLICATION_FILE_TITLE"), QString(),
        Localization::text("THIEF_APPLICATION_FILE_FILTER") + QStringLiteral(" (*.desktop)"));
    if (path.isEmpty())
        return;
    QString error;
    const std::optional<DesktopEntry> entry =
        DesktopEntry::read(QFileInfo(path).completeBaseName(), path, error);
    if (!entry) {
        fail(Localization::text("THIEF_APPLICATION_ERROR_ENTRY"));
        return;
    }
    choose(*entry);
}

bool ApplicationChooserWindowController::choose(const DesktopEntry& entry)
{
    QString error;
    const std::optional<QVariantMap> dictionary = ThiefForms::application(entry, error);
    if (!dictionary) {
        fail(error);
        return false;
    }
    m_store.addThieve(*dictionary, entry.icon ? ApplicationIcon::data(*entry.icon) : std::nullopt);
    if (const std::optional<QString> failure = m_store.lastError()) {
        fail(Localization::text("THIEF_SAVE_FAILED").arg(*failure));
        return false;
    }
    m_success = true;
    done(1);
    return true;
}

void ApplicationChooserWindowController::fail(const QString& message)
{
    m_labelError->setText(message);
    m_labelError->show();
}
