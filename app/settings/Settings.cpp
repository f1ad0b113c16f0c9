#include "settings/Settings.h"

#include <algorithm>
#include <limits>

#include <QSettings>
#include <QStandardPaths>

#include "Console.h"

namespace {

// One lock for every instance: they all write the same file, and a counter's read and write
// must not interleave with another thread's.
std::mutex& fileMutex()
{
    static std::mutex mutex;
    return mutex;
}

// Lists come from hand-written values with commas; none of our keys holds one.
bool isScalar(const QVariant& value)
{
    return value.isValid() && value.typeId() != QMetaType::QStringList &&
           value.typeId() != QMetaType::QVariantList && value.canConvert<QString>();
}

// An INI file has no types: what was written as true or 25 reads back as text.
std::optional<bool> asBool(const QVariant& value)
{
    if (value.typeId() == QMetaType::Bool)
        return value.toBool();
    if (!isScalar(value))
        return std::nullopt;
    const QString text = value.toString().trimmed();
    if (text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0 || text == QLatin1String("1"))
        return true;
    if (text.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0 ||
        text == QLatin1String("0"))
        return false;
    return std::nullopt;
}

std::optional<int> asInt(const QVariant& value)
{
    if (value.typeId() == QMetaType::Bool || !isScalar(value))
        return std::nullopt;
    bool ok = false;
    const int number = value.toString().trimmed().toInt(&ok, 10);
    return ok ? std::optional<int>(number) : std::nullopt;
}

std::optional<QString> asString(const QVariant& value)
{
    return isScalar(value) ? std::optional<QString>(value.toString()) : std::nullopt;
}

bool writeFile(const QString& path, const QString& key, const std::optional<QVariant>& value)
{
    QSettings file(path, QSettings::IniFormat);
    if (value)
        file.setValue(key, *value);
    else
        file.remove(key);
    file.sync();
    if (file.status() != QSettings::NoError) {
        Console::line(QStringLiteral("Settings: could not write %1 to %2").arg(key, path));
        return false;
    }
    return true;
}

} // namespace

Settings& Settings::shared()
{
    static Settings* const settings = [] {
        auto* created = new Settings;
        created->registerApplicationDefaults();
        return created;
    }();
    return *settings;
}

QList<std::pair<QString, QVariant>> Settings::applicationDefaults()
{
    const auto key = [](const char* name) { return QString::fromLatin1(name); };
    return {
        {key(ShowDockIcon), false},
        {key(LaunchOnStartUp), true},
        {key(ShowNotifications), true},
        {key(ShowResetAdviceWindow), true},
        {key(PomodorSessionTasks), 4},
        {key(PomodoroLittleBreakTime), 5},
        {key(PomodoroBigBreakTime), 20},
        {key(PomodoroTaskTime), 25},
        {key(PomodoroTodayGoal), 12},
        {key(PomodoroAutoStart), true},
        {key(PomodoroStartLaunch), true},
        {key(PomodoroSoundAtEnd), true},
        {key(BreakSoundAtEnd), true},
        {key(LastTaskComplete), QStringLiteral("16/09/1975")},
        {key(TasksFinishToday), 0},
        {key(TasksInSessionsToday), 0},
        {key(ThievesImported), false},
        {key(ThievesOnboardingNotDone), true},
        {key(ThievesScanAllowByUser), false},
        {key(MigratedToCloud), false},
        {key(SubscribedToCloudChanges), false},
        {key(MigratedToTaskInfo), false},
        {key(WelcomeOnboardingDone), false},
    };
}

std::optional<Settings::Range> Settings::allowedRange(const QString& key)
{
    static const std::pair<const char*, Range> ranges[] = {
        {PomodoroTaskTime, TaskTimeRange},      {PomodoroLittleBreakTime, ShortBreakRange},
        {PomodoroBigBreakTime, LongBreakRange}, {PomodorSessionTasks, SessionTasksRange},
        {PomodoroTodayGoal, TodayGoalRange},
    };
    for (const auto& [name, range] : ranges) {
        if (key == QLatin1String(name))
            return range;
    }
    return std::nullopt;
}

int Settings::validIntValue(const QString& key) const
{
    const int value = intValue(key);
    const std::optional<Range> range = allowedRange(key);
    if (!range || range->contains(value))
        return value;
    // The registered fallback, or the application's own when none was registered.
    std::optional<QVariant> fallback = registeredDefault(key);
    if (!fallback) {
        for (const auto& [name, applicationDefault] : applicationDefaults()) {
            if (name == key)
                fallback = applicationDefault;
        }
    }
    const std::optional<int> number = fallback ? asInt(*fallback) : std::nullopt;
    return number && range->contains(*number) ? *number : range->minimum;
}

void Settings::registerDefaults(const QList<std::pair<QString, QVariant>>& defaults)
{
    std::lock_guard lock(m_mutex);
    for (const auto& [key, value] : defaults) {
        const auto known = std::find_if(m_defaults.begin(), m_defaults.end(),
                                        [&](const auto& entry) { return entry.first == key; });
        if (known != m_defaults.end())
            known->second = value;
        else
            m_defaults.append({key, value});
    }
}

std::optional<QVariant> Settings::registeredDefault(const QString& key) const
{
    std::lock_guard lock(m_mutex);
    for (const auto& [registered, value] : m_defaults) {
        if (registered == key)
            return value;
    }
    return std::nullopt;
}

QStringList Settings::registeredKeys() const
{
    std::lock_guard lock(m_mutex);
    QStringList keys;
    keys.reserve(m_defaults.size());
    for (const auto& entry : m_defaults)
        keys.append(entry.first);
    return keys;
}

bool Settings::boolValue(const QString& key) const
{
    if (const std::optional<QVariant> stored = storedValue(key)) {
        if (const std::optional<bool> value = asBool(*stored))
            return *value;
    }
    const std::optional<QVariant> fallback = registeredDefault(key);
    return fallback ? asBool(*fallback).value_or(false) : false;
}

int Settings::intValue(const QString& key) const
{
    if (const std::optional<QVariant> stored = storedValue(key)) {
        if (const std::optional<int> value = asInt(*stored))
            return *value;
    }
    const std::optional<QVariant> fallback = registeredDefault(key);
    return fallback ? asInt(*fallback).value_or(0) : 0;
}

std::optional<QString> Settings::stringValue(const QString& key) const
{
    if (const std::optional<QVariant> stored = storedValue(key)) {
        if (std::optional<QString> value = asString(*stored))
            return value;
    }
    const std::optional<QVariant> fallback = registeredDefault(key);
    return fallback ? asString(*fallback) : std::nullopt;
}

bool Settings::setBool(const QString& key, bool value)
{
    return write(key, QVariant(value));
}

bool Settings::setInt(const QString& key, int value)
{
    return write(key, QVariant(value));
}

bool Settings::setString(const QString& key, const QString& value)
{
    return write(key, QVariant(value));
}

bool Settings::remove(const QString& key)
{
    return write(key, std::nullopt);
}

int Settings::addToInt(const QString& key, int delta)
{
    std::lock_guard lock(fileMutex());
    const qint64 sum = qint64(intValue(key)) + delta;
    const int value = int(
        std::clamp<qint64>(sum, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
    writeFile(filePath(), key, QVariant(value));
    return value;
}

QString Settings::filePath() const
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Zestra/Zestra.conf");
}

std::optional<QVariant> Settings::storedValue(const QString& key) const
{
    // Opening the file rereads it when another process has rewritten it since.
    const QSettings file(filePath(), QSettings::IniFormat);
    const QVariant value = file.value(key);
    if (!value.isValid())
        return std::nullopt;
    return value;
}

bool Settings::write(const QString& key, const std::optional<QVariant>& value)
{
    std::lock_guard lock(fileMutex());
    return writeFile(filePath(), key, value);
}
