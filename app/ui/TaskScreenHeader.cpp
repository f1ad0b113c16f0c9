#include "ui/TaskScreenHeader.h"

#include <QLabel>

#include "store/Localization.h"

void TaskScreenHeader::style(QWidget* viewSide, QLabel* title, const char* titleKey)
{
    viewSide->setObjectName(QStringLiteral("viewSide"));
    viewSide->setAttribute(Qt::WA_StyledBackground);
    viewSide->setStyleSheet(QStringLiteral(
        "#viewSide { background-color: #ffffff; border-bottom: 1px solid #e2e2e2; }"));
    viewSide->setFixedHeight(height);

    title->setText(Localization::text(titleKey));
    title->setAlignment(Qt::AlignCenter);
    // Clicks go to the header's buttons even where the centred title overlaps them.
    title->setAttribute(Qt::WA_TransparentForMouseEvents);
    QFont font = title->font();
    if (font.pointSizeF() > 0)
        font.setPointSizeF(font.pointSizeF() + 2);
    font.setWeight(QFont::DemiBold);
    title->setFont(font);
    title->setStyleSheet(QStringLiteral("color: #313131;"));
}
