#pragma once

#include <memory>

#include <QLocale>
#include <QString>
#include <QUrl>

#include "store/Date.h"
#include "store/ReportPeriod.h"
#include "tallycore_export.h"

class DataController;
class PomodoroRecord;
class ReportDateFormatter;
class ReportFragments;
class ReportTemplates;

// Turns the stored work into the HTML pages of the report window. Keeps no state between
// calls but its formatters; call it from one thread at a time.
class TALLYCORE_EXPORT ReportEngine {
public:
    // The engine of the application's own store, created on first use.
    static ReportEngine& sharedEngine();
    // Where the templates' relative references (pictures, style sheets, chart scripts)
    // resolve: a qrc: folder of the data library.
    static QUrl baseURL();

    explicit ReportEngine(DataController& store, QLocale locale = QLocale::system());
    ~ReportEngine();
    ReportEngine(const ReportEngine&) = delete;
    ReportEngine& operator=(const ReportEngine&) = delete;

    QString report(Date forDate);
    QString reportForWorkweek(const ReportPeriod& period);
    QString reportForWeek(const ReportPeriod& period);
    QString reportForMonth(const ReportPeriod& period);
    QString reportCustom(const ReportPeriod& period);
    QString report(const QString& forTask);
    QString welcome();

    // Reads the templates from another folder (a folder of our own in tests).
    void setTemplateDirectory(const QString& directory);

private:
    enum class PeriodKind { Workweek, Week, Month, Custom };

    QString periodReport(PeriodKind kind, const ReportPeriod& period);
    QString perDaySerie(const QList<Date>& days, const QString& labels);
    QString perDaySerie(const QString& recordName, const QList<Date>& days, const QString& labels);
    static QString templateError();

    DataController& m_store;
    QLocale m_locale;
    std::unique_ptr<ReportDateFormatter> m_formatter;
    std::unique_ptr<ReportFragments> m_fragments;
    std::unique_ptr<ReportTemplates> m_templates;
};
