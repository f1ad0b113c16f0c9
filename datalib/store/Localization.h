#pragma once

#include <QString>

#include "tallycore_export.h"

// Texts looked up by id in the translation catalogues of the libraries and the application
// (English when the user's language has none). Works with or without a QCoreApplication.
class TALLYCORE_EXPORT Localization {
public:
    static QString text(const char* id);
    // Adds "<name>_<language>.qm" from a resource folder, with "<name>_en.qm" as fallback.
    static void addCatalogue(const QString& directory, const QString& name);
    // Adds every catalogue of a folder that has an English file ("<name>_en.qm"), once.
    static void addCatalogues(const QString& directory);
};
