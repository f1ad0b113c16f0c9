#include "datalib/reports/ReportFixture.h"

#include <QFile>

namespace {

const QString separator = QStringLiteral("\n@@\n");

void writeTemplate(const QString& folder, const char* name, int argumentCount)
{
    QStringList placeholders;
    for (int i = 0; i < argumentCount; ++i)
        placeholders.append(QStringLiteral("%@"));
    QFile file(folder + QLatin1Char('/') + QLatin1String(name) + QStringLiteral(".html"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    const QString text = argumentCount > 0 ? placeholders.join(separator) : QLatin1String(name);
    file.write(text.toUtf8());
}

} // namespace

void ReportFixture::SetUp()
{
    StoreFixture::SetUp();
    engine =
        std::make_unique<ReportEngine>(*store, QLocale(QLocale::English, QLocale::UnitedStates));
}

void ReportFixture::TearDown()
{
    engine.reset();
    StoreFixture::TearDown();
}

void ReportFixture::useEchoTemplates()
{
    ASSERT_TRUE(templates.isValid());
    const QString folder = templates.path();
    writeTemplate(folder, "day", 7);
    for (const char* period : {"workweek", "week", "month", "custom"})
        writeTemplate(folder, period, 13);
    writeTemplate(folder, "task", 6);
    writeTemplate(folder, "welcome", 0);
    writeTemplate(folder, "empty", 0);
    engine->setTemplateDirectory(folder);
}

QStringList ReportFixture::arguments(const QString& page)
{
    return page.split(separator);
}

void ReportFixture::addNamed(const char* startLocal, const QString& name, int duration)
{
    if (!store->existsTaskInfo(name))
        addTaskInfo(name);
    store->addTask(task(startLocal, duration, 300, name));
}

void ReportFixture::addGeneric(const char* startLocal, int duration)
{
    store->addTask(task(startLocal, duration));
}
