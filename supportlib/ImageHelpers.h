#pragma once

#include <QColor>
#include <QIcon>
#include <QImage>

#include "chimebox_export.h"

class QWidget;

// Monochrome template icons recoloured to the tint of the moment, and pictures of widgets.
class CHIMEBOX_EXPORT ImageHelpers {
public:
    // A template icon (QIcon::isMask()) comes back with every opaque pixel in the colour, at
    // whatever size it is drawn; the result is not a template, so nothing recolours it again.
    // Any other icon is returned as it is.
    static QIcon tinted(const QIcon& icon, const QColor& with);
    // The same for an image, which carries no template flag of its own.
    static QImage tinted(const QImage& image, const QColor& with, bool isTemplate);

    // The widget's current contents, rendered even when it is not on screen; a null image for
    // no widget.
    static QImage image(QWidget* view);
};
