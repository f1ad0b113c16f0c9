#include "ui/StatusItem.h"

StatusItem& StatusItem::shared()
{
    static StatusItem* item = new StatusItem;
    return *item;
}

void StatusItem::setTitle(const QString& title)
{
    if (title == m_title)
        return;
    m_title = title;
    emit titleChanged(title);
}
