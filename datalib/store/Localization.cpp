#include "store/Localization.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTranslator>

namespace {

QTranslator& libraryTranslator()
{
    static QTranslator* translator = [] {
        auto* t = new QTranslator;
        if (!t->load(QLocale::system(), QStringLiteral("tallycore"), QStringLiteral("_"),
                     QStringLiteral(":/tallycore/i18n")))
            (void)t->load(QStringLiteral(":/tallycore/i18n/tallycore_en.qm"));
        return t;
    }();
    return *translator;
}

} // namespace

QString Localization::text(const char* id)
{
    const QString translated = libraryTranslator().translate(nullptr, id);
    if (!translated.isEmpty())
        return translated;
    // Texts the application itself translates (qtTrId answers the id when nobody does).
    return qtTrId(id);
}
