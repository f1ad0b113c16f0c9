#include "reports/ReportEngine.h"

#include "reports/PomodoroRecord.h"
#include "reports/ReportDateFormatter.h"
#include "reports/ReportFragments.h"
#include "reports/ReportTemplates.h"
#include "reports/TemplateFiller.h"
#include "reports/TextEscaper.h"
#include "store/DataController.h"
#include "store/DayIndex.h"
#include "store/Localization.h"

using TemplateType = ReportTemplates::TemplateType;

ReportEngine& ReportEngine::sharedEngine()
{
    static ReportEngine engine(DataController::sharedInstance());
    return engine;
}

QUrl ReportEngine::baseURL()
{
    return QUrl(QStringLiteral("qrc:/tallycore/reports/"));
}

ReportEngine::ReportEngine(DataController& store, QLocale locale)
    : m_store(store)
    , m_locale(std::move(locale))
    , m_formatter(std::make_unique<ReportDateFormatter>(m_locale))
    , m_fragments(std::make_unique<ReportFragments>(*m_formatter))
    , m_templates(std::make_unique<ReportTemplates>())
{}

ReportEngine::~ReportEngine() = default;

void ReportEngine::setTemplateDirectory(const QString& directory)
{
    m_templates = std::make_unique<ReportTemplates>(directory);
}

QString ReportEngine::templateError()
{
    return Localization::text("REPORT_TEMPLATE_ERROR");
}

QString ReportEngine::report(Date forDate)
{
    const auto page = m_templates->load(TemplateType::Day);
    if (!page)
        return templateError();
    const auto pomodoros = m_store.pomodoros(forDate, forDate);
    if (!pomodoros || pomodoros->isEmpty())
        return m_templates->load(TemplateType::Empty).value_or(templateError());
    const auto sessions = m_store.sessions(forDate, forDate);
    const auto goals = m_store.goals(forDate, forDate);
    const QList<PomodoroRecord> records = ReportFragments::createRecords(*pomodoros);
    return TemplateFiller::fill(*page, {
                                           m_fragments->title(forDate),
                                           m_fragments->tagline(*pomodoros),
                                           ReportFragments::widget(*pomodoros),
                                           ReportFragments::widget(sessions),
                                           ReportFragments::dayGoal(goals && !goals->isEmpty()),
                                           ReportFragments::table(records, true),
                                           ReportFragments::graphSerie(records),
                                       });
}

QString ReportEngine::reportForWorkweek(const ReportPeriod& period)
{
    return periodReport(PeriodKind::Workweek, period);
}

QString ReportEngine::reportForWeek(const ReportPeriod& period)
{
    return periodReport(PeriodKind::Week, period);
}

QString ReportEngine::reportForMonth(const ReportPeriod& period)
{
    return periodReport(PeriodKind::Month, period);
}

QString ReportEngine::reportCustom(const ReportPeriod& period)
{
    return periodReport(PeriodKind::Custom, period);
}

QString ReportEngine::periodReport(PeriodKind kind, const ReportPeriod& period)
{
    static constexpr TemplateType types[] = {TemplateType::Workweek, TemplateType::Week,
                                             TemplateType::Month, TemplateType::Custom};
    const auto page = m_templates->load(types[static_cast<int>(kind)]);
    if (!page)
        return templateError();
    const auto pomodoros = m_store.pomodoros(period.startDate(), period.endDate());
    if (!pomodoros || pomodoros->isEmpty())
        return m_templates->load(TemplateType::Empty).value_or(templateError());
    const auto sessions = m_store.sessions(period.startDate(), period.endDate());
    const auto goals = m_store.goals(period.startDate(), period.endDate());
    const QList<PomodoroRecord> records = ReportFragments::createRecords(*pomodoros);

    const QList<Date> days = period.dates();
    const QString labels = m_fragments->chartLabels(days);
    QStringList arguments = {
        m_fragments->tagline(period),          ReportFragments::widget(*pomodoros),
        ReportFragments::widget(sessions),     ReportFragments::widget(goals),
        ReportFragments::table(records, true),
    };
    for (int place = 1; place <= 3; ++place)
        arguments.append(ReportFragments::topLabel(records, place));
    arguments.append(ReportFragments::graphSerie(records));
    arguments.append(perDaySerie(days, labels));
    for (qsizetype place = 0; place < 3; ++place) {
        arguments.append(place < records.size() ? perDaySerie(records[place].name, days, labels)
                                                : QString());
    }
    return TemplateFiller::fill(*page, arguments);
}

QString ReportEngine::perDaySerie(const QList<Date>& days, const QString& labels)
{
    return ReportFragments::chartSerie(labels, m_store.tasksFinishedPerDay(days));
}

QString ReportEngine::perDaySerie(const QString& recordName, const QList<Date>& days,
                                  const QString& labels)
{
    return ReportFragments::chartSerie(labels, m_store.executionsPerDay(recordName, days));
}

QString ReportEngine::report(const QString& forTask)
{
    const auto page = m_templates->load(TemplateType::Task);
    if (!page)
        return templateError();
    const auto pomodoros = m_store.pomodoros(forTask);
    if (!pomodoros || pomodoros->isEmpty())
        return m_templates->load(TemplateType::Empty).value_or(templateError());

    const ReportPeriod period(Date(pomodoros->first().startTime), Date(pomodoros->last().endTime));
    const QList<Date> days = period.dates();
    QList<PomodoroRecord> dayRecords;
    dayRecords.reserve(days.size());
    for (const Date& day : days)
        dayRecords.append(PomodoroRecord(m_formatter->fullDate(day)));
    const DayIndex index(days);
    for (const Pomodoro& pomodoro : *pomodoros) {
        if (const auto day = index.dayOf(pomodoro.startTime)) {
            ++dayRecords[*day].iterations;
            dayRecords[*day].duration += pomodoro.duration;
        }
    }
    // The chart counts the same rows as the table, day by day.
    QList<int> perDay;
    perDay.reserve(dayRecords.size());
    for (const PomodoroRecord& record : dayRecords)
        perDay.append(static_cast<int>(record.iterations));

    return TemplateFiller::fill(
        *page, {
                   TextEscaper::html(forTask),
                   m_fragments->tagline(period),
                   QString::number(iterations(dayRecords)),
                   formattedHTMLDuration(dayRecords),
                   ReportFragments::table(dayRecords, false),
                   ReportFragments::chartSerie(m_fragments->chartLabels(days), perDay),
               });
}

QString ReportEngine::welcome()
{
    return m_templates->load(TemplateType::Welcome).value_or(templateError());
}
