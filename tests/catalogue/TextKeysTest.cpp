#include <gtest/gtest.h>

#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <QRegularExpression>
#include <QSet>
#include <QXmlStreamReader>

#include "store/Localization.h"

// Every text key the code can look up has an English text, in the catalogues and in the
// program's resources, so no screen, menu or notification ever shows a raw key.
namespace {

const QStringList kSourceFolders = {QStringLiteral("app"), QStringLiteral("datalib"),
                                    QStringLiteral("supportlib")};

QString sourcePath(const QString& relative)
{
    return QStringLiteral(ZESTRA_SOURCE_DIR "/") + relative;
}

QStringList filesUnder(const QString& folder, const QStringList& patterns)
{
    QStringList files;
    QDirIterator it(sourcePath(folder), patterns, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        files.append(it.next());
    files.sort();
    return files;
}

// Key -> where the code names it first ("app/ui/X.cpp:12").
using KeyUses = QMap<QString, QString>;

// Keys reach a lookup directly (Localization::text("KEY"), qtTrId("KEY")) or through tables,
// conditionals and helpers that hand a key over (const char* key = "KEY"). So every literal
// shaped like a key counts, but for the other upper-snake names the code uses: settings keys,
// which live in the settings store, environment variables and X11 atoms.
KeyUses keysUsedByTheCode()
{
    static const QRegularExpression lookup(
        QStringLiteral(R"re((?:Localization::text|qtTrId|QT_TRID_NOOP)\(\s*"([^"]*)")re"));
    static const QRegularExpression keyShaped(
        QStringLiteral(R"re("([A-Z][A-Z0-9]*(?:_[A-Z0-9]+)+)")re"));
    static const QRegularExpression environment(QStringLiteral(
        R"re(\b(?:qgetenv|qputenv|qunsetenv|qEnvironmentVariable\w*|getenv|setenv|atom)\b)re"));
    const QString settingsFolder = sourcePath(QStringLiteral("app/settings/"));

    KeyUses uses;
    for (const QString& folder : kSourceFolders) {
        for (const QString& path :
             filesUnder(folder, {QStringLiteral("*.cpp"), QStringLiteral("*.h")})) {
            QFile file(path);
            if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
                ADD_FAILURE() << "cannot read " << path.toStdString();
                continue;
            }
            const QString relative = path.mid(sourcePath(QString()).size());
            const bool settings = path.startsWith(settingsFolder);
            const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
            for (qsizetype n = 0; n < lines.size(); ++n) {
                const QString& line = lines.at(n);
                const QString where = relative + u':' + QString::number(n + 1);
                for (const auto& match : lookup.globalMatch(line))
                    uses.insert(match.captured(1), uses.value(match.captured(1), where));
                if (settings || environment.match(line).hasMatch())
                    continue;
                for (const auto& match : keyShaped.globalMatch(line))
                    uses.insert(match.captured(1), uses.value(match.captured(1), where));
            }
        }
    }
    return uses;
}

// Key -> the English text, from every "<name>_en.ts".
QMap<QString, QString> englishCatalogues()
{
    QMap<QString, QString> texts;
    for (const QString& folder : kSourceFolders) {
        for (const QString& path : filesUnder(folder, {QStringLiteral("*_en.ts")})) {
            QFile file(path);
            if (!file.open(QIODevice::ReadOnly)) {
                ADD_FAILURE() << "cannot read " << path.toStdString();
                continue;
            }
            QXmlStreamReader xml(&file);
            QString id;
            while (!xml.atEnd()) {
                if (xml.readNext() != QXmlStreamReader::StartElement)
                    continue;
                if (xml.name() == QLatin1String("message")) {
                    id = xml.attributes().value(QLatin1String("id")).toString();
                } else if (xml.name() == QLatin1String("translation")) {
                    const QString type = xml.attributes().value(QLatin1String("type")).toString();
                    const QString text = xml.readElementText();
                    // lrelease leaves out what is no longer used.
                    if (!id.isEmpty() && !text.isEmpty() && type != QLatin1String("vanished") &&
                        type != QLatin1String("obsolete"))
                        texts.insert(id, text);
                }
            }
            EXPECT_FALSE(xml.hasError())
                << path.toStdString() << ": " << xml.errorString().toStdString();
        }
    }
    return texts;
}

TEST(TextKeys, EveryKeyTheCodeUsesHasAnEnglishText)
{
    const KeyUses uses = keysUsedByTheCode();
    // The scan itself works: the code names many keys, these among them.
    ASSERT_GT(uses.size(), 50);
    ASSERT_TRUE(uses.contains(QStringLiteral("NOTIFICATION_TASK_TITLE")));
    ASSERT_TRUE(uses.contains(QStringLiteral("MAIN_MENU_QUIT")));

    const QMap<QString, QString> texts = englishCatalogues();
    ASSERT_FALSE(texts.isEmpty());
    for (auto it = uses.cbegin(); it != uses.cend(); ++it)
        EXPECT_TRUE(texts.contains(it.key()))
            << it.key().toStdString() << " (" << it.value().toStdString()
            << ") has no text in any English catalogue (*_en.ts)";
}

TEST(TextKeys, TheProgramFindsATextForEveryKey)
{
    // The catalogues as the program loads them: compiled in, from its resources.
    Localization::addCatalogues(QStringLiteral(":/zestra/i18n"));
    const KeyUses uses = keysUsedByTheCode();
    for (auto it = uses.cbegin(); it != uses.cend(); ++it) {
        const QByteArray key = it.key().toUtf8();
        const QString text = Localization::text(key.constData());
        EXPECT_TRUE(!text.isEmpty() && text != it.key())
            << key.constData() << " (" << it.value().toStdString()
            << ") shows as a raw key: is its catalogue compiled into the program?";
    }
}

} // namespace
