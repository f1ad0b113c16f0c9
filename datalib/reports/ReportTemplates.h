#pragma once

#include <optional>

#include <QString>

// The HTML templates of the reports, read whole from a folder (the library's resources
// unless told otherwise).
class ReportTemplates {
public:
    enum class TemplateType { Day, Workweek, Week, Month, Custom, Task, Welcome, Empty };

    static QString defaultDirectory();
    static QString resourceName(TemplateType type);

    explicit ReportTemplates(QString directory = defaultDirectory());

    // Absent when the file is missing, unreadable or not UTF-8.
    std::optional<QString> load(TemplateType type) const;

private:
    QString m_directory;
};
