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
    : QWidget(parent, asOrdinaryWindow ? Qt::Window : Qt::Popup | Qt::FramelessWindowHint)
    , m_ordinary(asOrdinaryWindow)
{
    setWindowTitle(QStringLiteral("Zestra"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(content);
    if (m_ordinary)
        setFixedSize(content->sizeHint());
}

QPoint PopoverWindow::placement(const QSize& size, const QRect& icon, const QRect& area)
{
    QPoint at;
    if (icon.isValid() && !icon.isEmpty()) {
        at = QPoint(icon.center().x() - size.width() / 2, icon.bottom() + margin);
        // A panel at the bottom of the screen: open upwards.
        if (at.y() + size.height() > area.bottom())
            at.setY(icon.top() - margin - size.height());
    } else {
        at = QPoint(area.right() - size.width() - margin, area.top() + margin);
    }
    at.setX(std::clamp(at.x(), area.left() + margin,
                       std::max(area.left() + margin, area.right() - size.width() - margin)));
    at.setY(std::clamp(at.y(), area.top(), std::max(area.top(), area.bottom() - size.height())));
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
