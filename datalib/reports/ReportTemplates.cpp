#include "reports/ReportTemplates.h"

#include <QFile>
#include <QStringDecoder>

#include "Console.h"

QString ReportTemplates::defaultDirectory()
{
    return QStringLiteral(":/tallycore/reports");
}

QString ReportTemplates::resourceName(TemplateType type)
{
    switch (type) {
    case TemplateType::Day:
        return QStringLiteral("day");
    case TemplateType::Workweek:
        return QStringLiteral("workweek");
    case TemplateType::Week:
        return QStringLiteral("week");
    case TemplateType::Month:
        return QStringLiteral("month");
    case TemplateType::Custom:
        return QStringLiteral("custom");
    case TemplateType::Task:
        return QStringLiteral("task");
    case TemplateType::Welcome:
        return QStringLiteral("welcome");
    case TemplateType::Empty:
        return QStringLiteral("empty");
    }
    return {};
}

ReportTemplates::ReportTemplates(QString directory)
    : m_directory(std::move(directory))
{}

std::optional<QString> ReportTemplates::load(TemplateType type) const
{
    const QString path =
        m_directory + QLatin1Char('/') + resourceName(type) + QStringLiteral(".html");
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        Console::line(QStringLiteral("Error: report template ") + path + QStringLiteral(" -> ") +
                      file.errorString());
        return std::nullopt;
    }
    const QByteArray bytes = file.readAll();
    QStringDecoder decoder(QStringDecoder::Utf8);
    QString text = decoder.decode(bytes);
    if (decoder.hasError() || file.error() != QFileDevice::NoError) {
        Console::line(QStringLiteral("Error: report template ") + path +
                      QStringLiteral(" -> not UTF-8 text"));
        return std::nullopt;
    }
    return text;
}
