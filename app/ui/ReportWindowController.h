#pragma once

#include <functional>
#include <memory>
#include <optional>

#include <QPointer>
#include <QWidget>

#include "store/Date.h"

class DataController;
class PeriodWindowController;
class QButtonGroup;
class QCompleter;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;
class QStringListModel;
class QToolButton;
class QVBoxLayout;
class ReportEngine;
class ReportView;

// The report window: the five report choices, the task search, printing and sharing, over
// a web view that the report viewer plugin makes when the window is first shown.
class ReportWindowController : public QWidget {
    Q_OBJECT
public:
    // Makes the web view, or says in `error` why it cannot. By default the plugin's.
    using ViewFactory = std::function<std::unique_ptr<ReportView>(QWidget* parent, QString& error)>;

    ReportWindowController(ReportEngine& engine, DataController& store, ViewFactory makeView = {},
                           QWidget* parent = nullptr);
    ~ReportWindowController() override;

    // Shows the window. The day becomes the one the segments show or end on (absent: now),
    // and a report of a day or period that is shown follows it; given a day while no such
    // report is shown, the window shows that day's.
    void showReport(std::optional<Date> day = std::nullopt);

    // What the window's controls do.
    void selectSegment(int segment);
    void searchTask(const QString& name);
    void doPrint();
    void doSaveAsPdf();
    void doCopyPicture();
    void doCopyMessage();

    // The selected segment, or -1 while the welcome page or a task report shows.
    int selectedSegment() const;
    // The page last handed to the view.
    QString shownPage() const { return m_page; }
    // Null until the window is first shown, and when the plugin is missing.
    ReportView* reportView() const { return m_view.get(); }

    QButtonGroup* segmentedControl = nullptr;
    QToolButton* buttonPrint = nullptr;
    QToolButton* buttonShare = nullptr;
    QMenu* shareMenu = nullptr;
    QLineEdit* searchTaskField = nullptr;
    QProgressBar* progressIndicator = nullptr;
    QWidget* webContainer = nullptr;
    QPointer<PeriodWindowController> periodWindowController;
    std::optional<Date> date;

signals:
    // The page handed to the view has loaded (or failed to).
    void reportLoaded(bool ok);

protected:
    void showEvent(QShowEvent* event) override;
    // Drops the web view, whose engine processes hold memory while a page exists; the next
    // show makes a new one with the same report.
    void closeEvent(QCloseEvent* event) override;

private:
    void createView();
    void showPage(const QString& html);
    void markSegment(int segment);
    void openPeriodSheet();
    void periodSheetEnded(int answer);
    void offerCompletions(const QString& typed);
    void refreshShareMenu();
    void savePdf(const QString& file);

    ReportEngine& m_engine;
    DataController& m_store;
    ViewFactory m_makeView;
    std::unique_ptr<ReportView> m_view;
    QLabel* m_missingView = nullptr;
    QVBoxLayout* m_webLayout = nullptr;
    QCompleter* m_completer = nullptr;
    QStringListModel* m_completions = nullptr;
    QString m_page;
    bool m_viewTried = false;
    // The segment shown before the custom sheet opened, restored when it is closed.
    int m_shownSegment = -1;
};
