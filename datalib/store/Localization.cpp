#include "store/Localization.h"

#include <memory>
#include <mutex>
#include <vector>

#include <QCoreApplication>
#include <QLocale>
#include <QTranslator>

namespace {

struct Catalogues {
    std::mutex mutex;
    std::vector<std::unique_ptr<QTranslator>> translators;

    Catalogues() { add(QStringLiteral(":/tallycore/i18n"), QStringLiteral("tallycore")); }

    void add(const QString& directory, const QString& name)
    {
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
