#include "store/CsvExporter.h"

#include <algorithm>

#include <QLocale>
#include <QSaveFile>

#include "Console.h"
#include "store/Localization.h"
#include "store/PomodoroRecords.h"

CsvExporter::CsvExporter(PomodoroRecords& pomodoros)
    : m_pomodoros(pomodoros)
{}

QString CsvExporter::field(const QString& text)
{
    static const QString special = QStringLiteral(";\"\r\n");
    if (std::none_of(text.begin(), text.end(), [](QChar c) { return special.contains(c); }))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

bool CsvExporter::exportToCSV(const QString& toCSV, Date activitiyOfDay)
{
    const auto rows = m_pomodoros.pomodoros(activitiyOfDay, activitiyOfDay);
    if (!rows)
        return false;
    const QLocale locale = QLocale::system();
    QString text = Localization::text("EXPORT_CSV_HEADER");
    for (const Pomodoro& p : *rows) {
        const QString name =
            p.hasTaskInfo && p.taskInfoName ? *p.taskInfoName : QStringLiteral("Generic Task");
        text += QLatin1Char('\n') + field(name) + QLatin1Char(';') +
                field(locale.toString(Date(p.startTime).toDateTime(), QLocale::ShortFormat)) +
                QLatin1Char(';') + QString::number(p.duration);
    }

    QSaveFile file(toCSV);
    if (!file.open(QIODevice::WriteOnly) || file.write(text.toUtf8()) < 0 || !file.commit()) {
        Console::line(QStringLiteral("No se puedo guardar el archivo. ") + file.errorString());
        return false;
    }
    return true;
}
