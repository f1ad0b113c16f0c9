#include "store/CsvExporter.h"

#include <algorithm>

#include <QFile>
#include <QFileInfo>
#include <QLocale>

#include "AtomicFile.h"
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

std::optional<QString> CsvExporter::text(Date activitiyOfDay)
{
    const auto rows = m_pomodoros.pomodoros(activitiyOfDay, activitiyOfDay);
    if (!rows)
        return std::nullopt;
    const QLocale locale = QLocale::system();
    QString text = Localization::text("EXPORT_CSV_HEADER");
    for (const Pomodoro& p : *rows) {
        const QString name =
            p.hasTaskInfo && p.taskInfoName ? *p.taskInfoName : QStringLiteral("Generic Task");
        text += QLatin1Char('\n') + field(name) + QLatin1Char(';') +
                field(locale.toString(Date(p.startTime).toDateTime(), QLocale::ShortFormat)) +
                QLatin1Char(';') + QString::number(p.duration);
    }
    return text;
}

bool CsvExporter::isReplaceable(const QString& path)
{
    if (path.startsWith(QLatin1String("/dev/")) || path.startsWith(QLatin1String("/proc/")))
        return false;
    const QFileInfo info(path);
    return !info.exists() || info.isFile();
}

bool CsvExporter::exportToCSV(const QString& toCSV, Date activitiyOfDay)
{
    const std::optional<QString> csv = text(activitiyOfDay);
    if (!csv)
        return false;
    const QByteArray bytes = csv->toUtf8();
    bool written = false;
    QString error;
    if (isReplaceable(toCSV)) {
        written = AtomicFile::write(toCSV, bytes, error);
    } else {
        // Appending keeps what a shell redirection already holds (">>").
        QFile file(toCSV);
        written = file.open(QIODevice::WriteOnly | QIODevice::Append) &&
                  file.write(bytes) == bytes.size() && file.flush();
        error = file.errorString();
    }
    if (!written) {
        Console::line(QStringLiteral("No se puedo guardar el archivo. ") + error);
        return false;
    }
    return true;
}
