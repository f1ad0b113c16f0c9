#include "ui/SessionCell.h"

#include <QLabel>
#include <QVBoxLayout>

#include "ColorHelpers.h"
#include "store/Localization.h"

SessionCell::SessionCell(QWidget* parent)
    : LogbookCell(ColorHelpers::color(QStringLiteral("#59b6e8")), parent)
    , m_labelTitle(makeLabel(QString::fromLatin1(titleColor), 2, true))
    , m_labelDescription(makeLabel(QString::fromLatin1(secondaryColor), 0, false))
    , m_labelClock(makeLabel(QString::fromLatin1(secondaryColor), 0, false))
{
    m_labelTitle->setText(Localization::text("CELL_SESSION_TITLE"));
    texts()->insertWidget(1, m_labelTitle);
    texts()->insertWidget(2, m_labelDescription);
    texts()->addStretch(1);
    trailing()->insertWidget(1, m_labelClock, 0, Qt::AlignRight);
    trailing()->addStretch(1);
}

void SessionCell::configure(const LogbookRow& row)
{
    m_labelDescription->setText(Localization::text("CELL_SESSION_DESCRIPTION").arg(row.tasksCount));
    m_labelClock->setText(row.order ? shortTime(*row.order) : QString());
}
