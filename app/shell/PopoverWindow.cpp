#include "shell/PopoverWindow.h"

#include <QCursor>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QVBoxLayout>

#include "shell/PopoverPlacement.h"

PopoverWindow::PopoverWindow(QWidget* content, bool asOrdinaryWindow, QWidget* parent)
    : QWidget(parent)
    , m_ordinary(asOrdinaryWindow)
{
    applyFlags(flagsFor(false));
    setWindowTitle(QStringLiteral("Zestra"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(content);
    setFixedSize(content->sizeHint());
}

Qt::WindowFlags PopoverWindow::flagsFor(bool takeFocus) const
{
    if (m_ordinary)
        return Qt::Window;
    // A popup grabs the keyboard and the pointer, so it is only for a show the user asked
    // for; shown unasked, the popover is a plain frameless window above the others.
    return takeFocus ? Qt::Popup | Qt::FramelessWindowHint
                     : Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint;
}

void PopoverWindow::applyFlags(Qt::WindowFlags flags)
{
    // Changing the flags recreates the native window, so only when they differ.
    if (flags == m_flags)
        return;
    m_flags = flags;
    setWindowFlags(flags);
}

void PopoverWindow::setOrdinaryWindow(bool ordinary)
{
    if (ordinary == m_ordinary)
        return;
    m_ordinary = ordinary;
    if (!isVisible()) {
        applyFlags(flagsFor(false));
        return;
    }
    // Changed while shown (from the settings, or by the tray coming or going): shown again
    // in place, without taking the keyboard from wherever the user is.
    const QPoint at = pos();
    m_withoutFocus = true;
    m_usedSinceShown = false;
    setAttribute(Qt::WA_ShowWithoutActivating, true);
    applyFlags(flagsFor(false));
    move(at);
    show();
}

void PopoverWindow::present(const QRect& trayIconGeometry, bool takeFocus)
{
    QScreen* screen = trayIconGeometry.isValid()
                          ? QGuiApplication::screenAt(trayIconGeometry.center())
                          : QGuiApplication::screenAt(QCursor::pos());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    applyFlags(flagsFor(takeFocus));
    setAttribute(Qt::WA_ShowWithoutActivating, !takeFocus);
    m_withoutFocus = !takeFocus;
    m_usedSinceShown = false;
    adjustSize();
    if (screen)
        move(PopoverPlacement::place(size(), trayIconGeometry, screen->geometry(),
                                     screen->availableGeometry()));
    show();
    if (takeFocus) {
        raise();
        activateWindow();
    }
}

void PopoverWindow::showUnder(const QRect& trayIconGeometry)
{
    present(trayIconGeometry, true);
}

void PopoverWindow::showWithoutFocus(const QRect& trayIconGeometry)
{
    if (!isVisible())
        present(trayIconGeometry, false);
}

void PopoverWindow::toggleUnder(const QRect& trayIconGeometry)
{
    if (isVisible())
        hide();
    else
        showUnder(trayIconGeometry);
}

bool PopoverWindow::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate) {
        m_usedSinceShown = true;
    } else if (event->type() == QEvent::WindowDeactivate && m_withoutFocus && !m_ordinary &&
               m_usedSinceShown) {
        // Not a popup, so nothing closes it on a click elsewhere: leaving it does.
        hide();
    }
    return QWidget::event(event);
}

void PopoverWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Cancel)) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
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
