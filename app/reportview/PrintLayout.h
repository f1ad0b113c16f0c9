#pragma once

#include <QPageLayout>
#include <QSizeF>

// Page layouts for printing reports.
class PrintLayout {
public:
    // Landscape, on the paper of the user's country (Letter where inches rule, else A4).
    static QPageLayout landscape();
    // One page exactly the size of a page's content, in CSS pixels, without margins.
    static QPageLayout wholePage(QSizeF cssPixels);
};
