#include "ui/ReportWindowController.h"

#include <QAbstractItemView>
#include <QButtonGroup>
#include <QClipboard>
#include <QCompleter>
#include <QFileDialog>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QShortcut>
#include <QStandardPaths>
#include <QStringListModel>
#include <QToolButton>
#include <QVBoxLayout>

#include "AtomicFile.h"
#include "reportapi/ReportView.h"
#include "reportapi/ReportViewLoader.h"
#include "reportapi/ReportViewPlugin.h"
#include "reports/ReportEngine.h"
#include "store/DataController.h"
#include "store/Localization.h"
#include "ui/MessageBox.h"
#include "ui/PeriodWindowController.h"
#include "ui/ReportSegments.h"
#include "ui/ShareContent.h"
#include "ui/TaskCompletion.h"

namespace {

std::unique_ptr<ReportView> pluginView(QWidget* parent, QString& error)
{
    ReportViewPlugin* plugin = ReportViewLoader::plugin(error);
    return plugin ? plugin->createView(parent) : nullptr;
}

QToolButton* segmentButton(const QString& text)
{
    auto* button = new QToolButton;
    button->setText(text);
    button->setCheckable(true);
    button->setAutoRaise(false);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    button->setMinimumWidth(84);
    return button;
}

} // namespace

ReportWindowController::ReportWindowController(ReportEngine& engine, DataController& store,
                                               ViewFactory makeView, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , m_engine(engine)
    , m_store(store)
    , m_makeView(makeView ? std::move(makeView) : ViewFactory(&pluginView))
{
    setObjectName(QStringLiteral("ReportWindowController"));
    setWindowTitle(Localization::text("REPORT_WINDOW_TITLE"));
    resize(1100, 760);

    auto* toolbar = new QHBoxLayout;
    segmentedControl = new QButtonGroup(this);
    segmentedControl->setExclusive(false);
    auto* segments = new QHBoxLayout;
    segments->setSpacing(0);
    for (int segment = 0; segment < ReportSegments::Count; ++segment) {
        QToolButton* button = segmentButton(Localization::text(ReportSegments::labelKey(segment)));
        button->setToolTip(
            QKeySequence(Qt::CTRL | (Qt::Key_1 + segment)).toString(QKeySequence::NativeText));
        segmentedControl->addButton(button, segment);
        segments->addWidget(button);
        auto* shortcut = new QShortcut(QKeySequence(Qt::CTRL | (Qt::Key_1 + segment)), this);
        connect(shortcut, &QShortcut::activated, this, [this, segment] { selectSegment(segment); });
    }
    connect(segmentedControl, &QButtonGroup::idClicked, this,
            &ReportWindowController::selectSegment);
    toolbar->addLayout(segments);

    progressIndicator = new QProgressBar;
    progressIndicator->setRange(0, 0);
    progressIndicator->setTextVisible(false);
    progressIndicator->setMaximumWidth(80);
    progressIndicator->setMaximumHeight(10);
    progressIndicator->setVisible(false);
    toolbar->addSpacing(12);
    toolbar->addWidget(progressIndicator);
    toolbar->addStretch();

    searchTaskField = new QLineEdit;
    searchTaskField->setPlaceholderText(Localization::text("CHART_SEARCHFIELD_PLACEHOLDER"));
    searchTaskField->setClearButtonEnabled(true);
    searchTaskField->setMinimumWidth(220);
    m_completions = new QStringListModel(this);
    m_completer = new QCompleter(m_completions, this);
    m_completer->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
    m_completer->setCaseSensitivity(Qt::CaseSensitive);
    m_completer->setWidget(searchTaskField);
    connect(searchTaskField, &QLineEdit::textEdited, this,
            &ReportWindowController::offerCompletions);
    connect(m_completer, qOverload<const QString&>(&QCompleter::activated), this,
            [this](const QString& name) {
                searchTaskField->setText(name);
                searchTask(name);
            });
    connect(searchTaskField, &QLineEdit::returnPressed, this,
            [this] { searchTask(searchTaskField->text()); });
    toolbar->addWidget(searchTaskField);

    buttonPrint = new QToolButton;
    buttonPrint->setText(Localization::text("CHART_SHARE_PRINT"));
    connect(buttonPrint, &QToolButton::clicked, this, &ReportWindowController::doPrint);
    buttonShare = new QToolButton;
    buttonShare->setText(Localization::text("CHART_SHARE_SHARE"));
    buttonShare->setPopupMode(QToolButton::InstantPopup);
    shareMenu = new QMenu(buttonShare);
    connect(shareMenu, &QMenu::aboutToShow, this, &ReportWindowController::refreshShareMenu);
    buttonShare->setMenu(shareMenu);
    refreshShareMenu();
    for (QToolButton* button : {buttonPrint, buttonShare}) {
        // Room for the menu arrow beside the text.
        button->setMinimumWidth(button->sizeHint().width() + 16);
        toolbar->addWidget(button);
    }

    webContainer = new QWidget;
    m_webLayout = new QVBoxLayout(webContainer);
    m_webLayout->setContentsMargins(0, 0, 0, 0);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 0);
    layout->setSpacing(10);
    layout->addLayout(toolbar);
    layout->addWidget(webContainer, 1);

    m_page = m_engine.welcome();
}

ReportWindowController::~ReportWindowController() = default;

void ReportWindowController::showReport(std::optional<Date> day)
{
    date = day;
    const int shown = selectedSegment();
    if (shown >= ReportSegments::Today && shown <= ReportSegments::Month)
        selectSegment(shown);
    else if (day)
        selectSegment(ReportSegments::Today);
    show();
    raise();
    activateWindow();
}

void ReportWindowController::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!m_viewTried)
        createView();
}

void ReportWindowController::closeEvent(QCloseEvent* event)
{
    QWidget::closeEvent(event);
    if (periodWindowController)
        periodWindowController->doClose();
    m_view.reset();
    delete m_missingView;
    m_missingView = nullptr;
    m_viewTried = false;
    progressIndicator->setVisible(false);
}

void ReportWindowController::createView()
{
    m_viewTried = true;
    QString error;
    m_view = m_makeView(webContainer, error);
    if (!m_view) {
        m_missingView = new QLabel(Localization::text("REPORT_VIEWER_MISSING") +
                                   QStringLiteral("\n\n") + error);
        m_missingView->setTextFormat(Qt::PlainText);
        m_missingView->setAlignment(Qt::AlignCenter);
        m_missingView->setWordWrap(true);
        m_webLayout->addWidget(m_missingView);
        buttonPrint->setEnabled(false);
        buttonShare->setEnabled(false);
        progressIndicator->setVisible(false);
        return;
    }
    buttonPrint->setEnabled(true);
    buttonShare->setEnabled(true);
    m_webLayout->addWidget(m_view->widget());
    m_view->setLoadFinishedHandler([this](bool ok) {
        progressIndicator->setVisible(false);
        emit reportLoaded(ok);
    });
    showPage(m_page);
}

void ReportWindowController::showPage(const QString& html)
{
    m_page = html;
    if (!m_view)
        return;
    progressIndicator->setVisible(true);
    m_view->setHtml(html, ReportEngine::baseURL());
}

int ReportWindowController::selectedSegment() const
{
    return m_shownSegment;
}

void ReportWindowController::markSegment(int segment)
{
    for (QAbstractButton* button : segmentedControl->buttons())
        button->setChecked(segmentedControl->id(button) == segment);
}

void ReportWindowController::selectSegment(int segment)
{
    if (segment < 0 || segment >= ReportSegments::Count)
        return;
    markSegment(segment);
    if (segment == ReportSegments::Custom) {
        openPeriodSheet();
        return;
    }
    m_shownSegment = segment;
    showPage(ReportSegments::report(m_engine, segment, ReportSegments::day(date, Date::now())));
}

void ReportWindowController::openPeriodSheet()
{
    if (periodWindowController)
        return;
    periodWindowController =
        new PeriodWindowController(ReportSegments::day(date, Date::now()), this);
    connect(periodWindowController, &QDialog::finished, this,
            &ReportWindowController::periodSheetEnded);
    periodWindowController->open();
}

void ReportWindowController::periodSheetEnded(int answer)
{
    PeriodWindowController* sheet = periodWindowController;
    periodWindowController = nullptr;
    if (answer == PeriodWindowController::ShowAnswer && sheet->periodStart && sheet->periodEnd) {
        m_shownSegment = ReportSegments::Custom;
        showPage(m_engine.reportCustom(ReportPeriod(*sheet->periodStart, *sheet->periodEnd)));
    } else {
        // The report shown stays, and so does the choice that shows it.
        markSegment(m_shownSegment);
    }
    sheet->deleteLater();
}

void ReportWindowController::offerCompletions(const QString& typed)
{
    const QStringList offered =
        TaskCompletion::completions(m_store.taskNames().value_or(QStringList()), typed);
    m_completions->setStringList(offered);
    if (offered.isEmpty())
        m_completer->popup()->hide();
    else
        m_completer->complete();
}

void ReportWindowController::searchTask(const QString& name)
{
    if (name.isEmpty())
        return;
    m_completer->popup()->hide();
    m_shownSegment = -1;
    markSegment(-1);
    showPage(m_engine.report(name));
}

void ReportWindowController::refreshShareMenu()
{
    shareMenu->clear();
    const ShareContent content = ShareContent::forSegment(m_shownSegment);
    shareMenu->addAction(Localization::text("CHART_SHARE_SAVE_PDF"), this,
                         &ReportWindowController::doSaveAsPdf);
    shareMenu->addAction(Localization::text("CHART_SHARE_COPY_PICTURE"), this,
                         &ReportWindowController::doCopyPicture);
    shareMenu->addAction(Localization::text(content.link() ? "CHART_SHARE_COPY_MESSAGE_LINK"
                                                           : "CHART_SHARE_COPY_MESSAGE"),
                         this, &ReportWindowController::doCopyMessage);
}

void ReportWindowController::doPrint()
{
    if (m_view)
        m_view->print(this);
}

void ReportWindowController::doCopyPicture()
{
    if (!m_view)
        return;
    progressIndicator->setVisible(true);
    QPointer<ReportWindowController> self = this;
    m_view->pageImage([self](const QImage& image) {
        if (!self)
            return;
        self->progressIndicator->setVisible(false);
        if (!image.isNull())
            QGuiApplication::clipboard()->setImage(image);
    });
}

void ReportWindowController::doCopyMessage()
{
    QGuiApplication::clipboard()->setText(ShareContent::forSegment(m_shownSegment).clipboardText());
}

void ReportWindowController::doSaveAsPdf()
{
    if (!m_view)
        return;
    auto* dialog =
        new QFileDialog(this, QString(),
                        QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) +
                            QLatin1Char('/') + Localization::text("CHART_SHARE_PDF_FILE_NAME"),
                        Localization::text("CHART_SHARE_PDF_FILTER"));
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setDefaultSuffix(QStringLiteral("pdf"));
    dialog->setWindowModality(Qt::WindowModal);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QFileDialog::fileSelected, this, &ReportWindowController::savePdf);
    dialog->open();
}

void ReportWindowController::savePdf(const QString& file)
{
    QPointer<ReportWindowController> self = this;
    m_view->printToPdf([self, file](const QByteArray& pdf) {
        if (!self)
            return;
        QString error;
        if (!pdf.isEmpty() && AtomicFile::write(file, pdf, error))
            return;
        MessageBox::information(self, {Localization::text("CHART_SHARE_SAVE_ERROR"), error,
                                       Localization::text("CHART_SHARE_ERROR_BUTTON")});
    });
}
