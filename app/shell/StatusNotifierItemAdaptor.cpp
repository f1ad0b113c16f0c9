#include "shell/StatusNotifierItemAdaptor.h"

#include "shell/StatusNotifierItem.h"

StatusNotifierItemAdaptor::StatusNotifierItemAdaptor(StatusNotifierItem& item)
    : QDBusAbstractAdaptor(&item)
    , m_item(item)
{}

QString StatusNotifierItemAdaptor::category() const
{
    return QStringLiteral("ApplicationStatus");
}

QString StatusNotifierItemAdaptor::id() const
{
    return StatusNotifierItem::kId;
}

QString StatusNotifierItemAdaptor::title() const
{
    return StatusNotifierItem::kTitle;
}

QString StatusNotifierItemAdaptor::status() const
{
    return QStringLiteral("Active");
}

SniPixmapList StatusNotifierItemAdaptor::iconPixmap() const
{
    return m_item.iconPixmaps();
}

SniToolTip StatusNotifierItemAdaptor::toolTip() const
{
    // Without pixmaps of its own: hosts show the item's icon beside it.
    return {QString(), {}, StatusNotifierItem::kTitle, m_item.toolTipText()};
}

QDBusObjectPath StatusNotifierItemAdaptor::menu() const
{
    return QDBusObjectPath(StatusNotifierItem::kMenuPath);
}

QString StatusNotifierItemAdaptor::xAyatanaLabel() const
{
    return m_item.label();
}

QString StatusNotifierItemAdaptor::xAyatanaLabelGuide() const
{
    return StatusNotifierItem::kLabelGuide;
}

void StatusNotifierItemAdaptor::Activate(int x, int y)
{
    emit m_item.activated(QPoint(x, y));
}

void StatusNotifierItemAdaptor::SecondaryActivate(int x, int y)
{
    Q_UNUSED(x);
    Q_UNUSED(y);
    emit m_item.secondaryActivated();
}

void StatusNotifierItemAdaptor::ContextMenu(int x, int y)
{
    m_item.showContextMenu(QPoint(x, y));
}

void StatusNotifierItemAdaptor::Scroll(int delta, const QString& orientation)
{
    // Scrolling over the item has no meaning here.
    Q_UNUSED(delta);
    Q_UNUSED(orientation);
}
