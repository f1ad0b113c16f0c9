#include "reports/ReportFragments.h"

#include <algorithm>

#include <QHash>

#include "reports/DurationFormatter.h"
#include "reports/ReportDateFormatter.h"
#include "reports/TextEscaper.h"
#include "store/Localization.h"

namespace {

constexpr int labelEveryDays = 5;
constexpr int labelAllDaysBelow = 11;

QString goalBlock(const QString& picture, const QString& heading, const QString& state)
{
    return QStringLiteral("<div class=\"two columns\"><img src=\"") + picture +
           QStringLiteral("\" width=\"45px\" /></div><div class=\"ten columns\"><p><strong>") +
           heading + QStringLiteral("</strong><br/><small>") + state +
           QStringLiteral("</small></p></div>");
}

} // namespace

ReportFragments::ReportFragments(const ReportDateFormatter& formatter)
    : m_formatter(formatter)
{}

QList<PomodoroRecord> ReportFragments::createRecords(const QList<Pomodoro>& pomodoros)
{
    const QString generic = Localization::text("POMODORO_GENERIC_NAME");
    QList<PomodoroRecord> records;
    QHash<QString, qsizetype> positions;
    for (const Pomodoro& pomodoro : pomodoros) {
        const QString& key = pomodoro.taskInfoName && !pomodoro.taskInfoName->isEmpty()
                                 ? *pomodoro.taskInfoName
                                 : generic;
        auto found = positions.constFind(key);
        if (found == positions.constEnd()) {
            found = positions.insert(key, records.size());
            records.append(PomodoroRecord(key));
        }
        PomodoroRecord& record = records[*found];
        ++record.iterations;
        record.duration += pomodoro.duration;
    }
    // Ties keep the order in which the tasks first appear.
    std::stable_sort(records.begin(), records.end(),
                     [](const PomodoroRecord& a, const PomodoroRecord& b) { return b < a; });
    return records;
}

QString ReportFragments::table(const QList<PomodoroRecord>& records, bool showBullet)
{
    QString html;
    qsizetype position = 0;
    for (const PomodoroRecord& record : records) {
        ++position;
        if (showBullet) {
            html += QStringLiteral("<tr><td><div class=\"bullet-") + QString::number(position) +
                    QStringLiteral("\"></div></td><td>");
        } else {
            html += QStringLiteral("<tr><td><div>&nbsp;</div></td><td>");
        }
        html += TextEscaper::html(record.name) + QStringLiteral("</td><td>") +
                QString::number(record.iterations) +
                QStringLiteral(" <small>tasks</small></td><td>") + record.formattedHTMLDuration() +
                QStringLiteral("</td></tr>");
    }
    html += QStringLiteral("<tr class=\"total\"><td>&nbsp;</td><td><strong><small>TOTAL</small>"
                           "</strong></td><td><small><strong>") +
            QString::number(iterations(records)) +
            QStringLiteral(" <small>tasks</small></strong></small></td><td>") +
            formattedHTMLDuration(records) + QStringLiteral("</td></tr>");
    return html;
}

QString ReportFragments::graphSerie(const QList<PomodoroRecord>& records)
{
    QString serie = QStringLiteral("[");
    for (qsizetype i = 0; i < records.size(); ++i) {
        if (i > 0)
            serie += QStringLiteral(", ");
        serie += QString::number(records[i].iterations);
    }
    return serie + QLatin1Char(']');
}

QString ReportFragments::chartLabels(const QList<Date>& days) const
{
    const bool labelAll = days.size() < labelAllDaysBelow;
    QString labels;
    for (qsizetype i = 0; i < days.size(); ++i) {
        const QString label = labelAll || i % labelEveryDays == 0
                                  ? TextEscaper::javaScriptString(m_formatter.shortDate(days[i]))
                                  : QStringLiteral(" ");
        labels +=
            (i == 0 ? QStringLiteral("'") : QStringLiteral(", '")) + label + QLatin1Char('\'');
    }
    return labels;
}

QString ReportFragments::chartSerie(const QString& labels, const QList<int>& values)
{
    QString serie = QStringLiteral("labels: [ ") + labels + QStringLiteral(" ], series: [ [ ");
    for (qsizetype i = 0; i < values.size(); ++i) {
        if (i > 0)
            serie += QStringLiteral(", ");
        serie += QString::number(values[i]);
    }
    return serie + QStringLiteral(" ] ]");
}

QString ReportFragments::topLabel(const QList<PomodoroRecord>& records, int place)
{
    if (place < 1 || place > records.size())
        return {};
    return QString::number(place) + QStringLiteral(". ") +
           TextEscaper::html(records[place - 1].name);
}

QString ReportFragments::widget(const QList<Pomodoro>& pomodoros)
{
    return QStringLiteral("<h3>") + QString::number(pomodoros.size()) + QStringLiteral("</h3> ");
}

QString ReportFragments::widget(const std::optional<QList<Session>>& sessions)
{
    const qsizetype count = sessions ? sessions->size() : 0;
    return QStringLiteral("<h3>") + QString::number(count) + QStringLiteral("</h3>");
}

QString ReportFragments::widget(const std::optional<QList<Goal>>& goals)
{
    if (!goals)
        return dayGoal(false);
    return goalBlock(QStringLiteral("goal.svg"),
                     QString::number(goals->size()) + QStringLiteral(" GOAL"),
                     QStringLiteral("ACHIEVED"));
}

QString ReportFragments::dayGoal(bool achieved)
{
    return achieved ? goalBlock(QStringLiteral("goal.svg"), QStringLiteral("GOAL"),
                                QStringLiteral("ACHIEVED"))
                    : goalBlock(QStringLiteral("no-goal.svg"), QStringLiteral("GOAL"),
                                QStringLiteral("NOT ACHIEVED"));
}

QString ReportFragments::tagline(const QList<Pomodoro>& pomodoros) const
{
    if (pomodoros.isEmpty())
        return QStringLiteral("Record started at same moment of this day");
    const auto [first, last] = std::minmax_element(
        pomodoros.begin(), pomodoros.end(),
        [](const Pomodoro& a, const Pomodoro& b) { return a.startTime < b.startTime; });
    return QStringLiteral("Record started at <em>") +
           TextEscaper::html(m_formatter.shortTime(Date(first->startTime))) +
           QStringLiteral("</em> and finished at <em>") +
           TextEscaper::html(m_formatter.shortTime(Date(last->endTime))) + QStringLiteral("</em>");
}

QString ReportFragments::tagline(const ReportPeriod& period) const
{
    return QStringLiteral("Record started at <em>") +
           TextEscaper::html(m_formatter.fullDate(period.startDate())) +
           QStringLiteral("</em> and finished at <em>") +
           TextEscaper::html(m_formatter.fullDate(period.endDate())) + QStringLiteral("</em>");
}

QString ReportFragments::title(Date date) const
{
    const QString text = TextEscaper::html(m_formatter.fullDate(date));
    if (date.isToday())
        return QStringLiteral("TODAY <small>") + text + QStringLiteral("</small>");
    return text;
}
