#include "ui/RingLabel.h"

#include <QLabel>

#include "ColorHelpers.h"

QLabel* makeRingLabel(QWidget* parent, const char* colour, double pointScale, QFont::Weight weight)
{
    auto* label = new QLabel(parent);
    label->setAlignment(Qt::AlignCenter);
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    QFont font = label->font();
    font.setPointSizeF(font.pointSizeF() * pointScale);
    font.setWeight(weight);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, ColorHelpers::color(QLatin1String(colour)));
    label->setPalette(palette);
    return label;
}
