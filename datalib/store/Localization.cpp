#include "store/Localization.h"

#include <memory>
#include <mutex>
#include <vector>

#include <QCoreApplication>
#include <QDir>
#include <QLocale>
#include <QTranslator>

namespace {

struct Catalogues {
    std::mutex mutex;
    std::vector<std::unique_ptr<QTranslator>> translators;
    QStringList added;

    Catalogues() { add(QStringLiteral(":/tallycore/i18n"), QStringLiteral("tallycore")); }

    void add(const QString& directory, const QString& name)
    {
        {
            std::lock_guard lock(mutex);
            const QString key = directory + QLatin1Char('/') + name;
            if (added.contains(key))
                return;
            added.append(key);
        }
        auto translator = std::make_unique<QTranslator>();
        if (!translator->load(QLocale::system(), name, QStringLiteral("_"), directory) &&
            !translator->load(directory + QLatin1Char('/') + name + QStringLiteral("_en.qm")))
            return;
        std::lock_guard lock(mutex);
        translators.push_back(std::move(translator));
    }
};

Catalogues& catalogues()
{
    static Catalogues instance;
    return instance;
}

} // namespace

void Localization::addCatalogue(const QString& directory, const QString& name)
{
    catalogues().add(directory, name);
}

void Localization::addCatalogues(const QString& directory)
{
    const QString suffix = QStringLiteral("_en.qm");
    const QStringList files = QDir(directory).entryList({QLatin1Char('*') + suffix}, QDir::Files);
    for (const QString& file : files)
        catalogues().add(directory, file.left(file.size() - suffix.size()));
}

QString Localization::text(const char* id)
{
    Catalogues& all = catalogues();
    {
        std::lock_guard lock(all.mutex);
        for (const auto& translator : all.translators) {
            const QString translated = translator->translate(nullptr, id);
            if (!translated.isEmpty())
                return translated;
        }
    }
    // Falls back to whatever the application installed (qtTrId answers the id itself).
    return qtTrId(id);
}
