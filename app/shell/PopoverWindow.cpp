#include "shell/PopoverWindow.h"

#include <QCloseEvent>
#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <QVBoxLayout>

namespace {

constexpr int margin = 8;

} // namespace

PopoverWindow::PopoverWindow(QWidget* content, bool asOrdinaryWindow, QWidget* parent)
    : QWidget(parent, flags(asOrdinaryWindow))
    , m_ordinary(asOrdinaryWindow)
{
    setWindowTitle(QStringLiteral("Zestra"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(content);
    setFixedSize(content->sizeHint());
}

Qt::WindowFlags PopoverWindow::flags(bool ordinary)
{
    return ordinary ? Qt::Window : Qt::Popup | Qt::FramelessWindowHint;
}

void PopoverWindow::setOrdinaryWindow(bool ordinary)
{
    if (ordinary == m_ordinary)
        return;
    const bool visible = isVisible();
    m_ordinary = ordinary;
    setWindowFlags(flags(ordinary));
    if (visible)
        show();
}

QPoint PopoverWindow::placement(const QSize& size, const QRect& icon, const QRect& area)
{
    // Edges as coordinates past the last pixel, so the arithmetic stays exact.
    const int areaRight = area.x() + area.width();
    const int areaBottom = area.y() + area.height();
    QPoint at;
    if (icon.isValid() && !icon.isEmpty()) {
        at = QPoint(icon.x() + icon.width() / 2 - size.width() / 2,
                    icon.y() + icon.height() + margin);
        // A panel at the bottom of the screen: open upwards.
        if (at.y() + size.height() > areaBottom)
            at.setY(icon.y() - margin - size.height());
    } else {
        at = QPoint(areaRight - size.width() - margin, area.y() + margin);
    }
    at.setX(std::clamp(at.x(), area.x() + margin,
                       std::max(area.x() + margin, areaRight - size.width() - margin)));
    at.setY(std::clamp(at.y(), area.y(), std::max(area.y(), areaBottom - size.height())));
    return at;
}

void PopoverWindow::showUnder(const QRect& trayIconGeometry)
{
    QScreen* screen = trayIconGeometry.isValid()
                          ? QGuiApplication::screenAt(trayIconGeometry.center())
                          : QGuiApplication::screenAt(QCursor::pos());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    adjustSize();
    if (screen)
        move(placement(size(), trayIconGeometry, screen->availableGeometry()));
    show();
    raise();
    activateWindow();
}

void PopoverWindow::toggleUnder(const QRect& trayIconGeometry)
{
    if (isVisible())
        hide();
    else
        showUnder(trayIconGeometry);
}

void PopoverWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    emit shown();
}

void PopoverWindow::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    emit hidden();
}

void PopoverWindow::closeEvent(QCloseEvent* event)
{
    // Closing the window never quits the application: it lives in the tray.
    event->ignore();
    hide();
}
