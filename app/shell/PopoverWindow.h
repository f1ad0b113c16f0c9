#pragma once

#include <QRect>
#include <QWidget>

// The small frameless window that drops down from the tray icon. Without a tray it is an
// ordinary window, so the application stays reachable; closing it then only hides it.
class PopoverWindow : public QWidget {
    Q_OBJECT
public:
    PopoverWindow(QWidget* content, bool asOrdinaryWindow, QWidget* parent = nullptr);

    // At the user's request (a click on the tray icon): a popup that takes the keyboard.
    void showUnder(const QRect& trayIconGeometry);
    void toggleUnder(const QRect& trayIconGeometry);
    // Unasked (at launch, or when the tray goes away): the window the user is typing in keeps
    // the keyboard. It closes on Escape, from the tray icon, or once used when the user turns
    // to another window.
    void showWithoutFocus(const QRect& trayIconGeometry);
    // An ordinary window has a taskbar entry and stays until closed; a popover drops down.
    void setOrdinaryWindow(bool ordinary);
    bool isOrdinaryWindow() const { return m_ordinary; }
    // Shown as a popup, which routes every key press of the application to itself.
    bool isPopup() const { return windowType() == Qt::Popup; }

signals:
    void shown();
    void hidden();

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void present(const QRect& trayIconGeometry, bool takeFocus);
    void applyFlags(Qt::WindowFlags flags);
    Qt::WindowFlags flagsFor(bool takeFocus) const;

    bool m_ordinary;
    bool m_withoutFocus = false;
    bool m_usedSinceShown = false;
    Qt::WindowFlags m_flags;
};
