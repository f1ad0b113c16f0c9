#include "ui/StartCell.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "ColorHelpers.h"
#include "store/Localization.h"

StartCell::StartCell(QWidget* parent)
    : LogbookCell(ColorHelpers::color(QStringLiteral("#999999")), parent)
    , m_labelTitle(makeLabel(QString::fromLatin1(titleColor), 2, true))
    , m_labelTimeTitle(makeLabel(QString::fromLatin1(secondaryColor), 0, false))
    , m_labelTime(makeLabel(QString::fromLatin1(titleColor), 0, true))
{
    m_hollowDot = true;
    m_labelTitle->setText(Localization::text("CELL_START_TITLE"));
    m_labelTimeTitle->setText(Localization::text("CELL_START_TIME_TITLE"));
    auto* time = new QHBoxLayout;
    time->setSpacing(5);
    time->addWidget(m_labelTimeTitle);
    time->addWidget(m_labelTime);
    time->addStretch(1);
    texts()->insertWidget(1, m_labelTitle);
    texts()->insertLayout(2, time);
    texts()->addStretch(1);
}

void StartCell::configure(const LogbookRow& row)
{
    m_labelTime->setText(shortTime(row.startTime));
}
