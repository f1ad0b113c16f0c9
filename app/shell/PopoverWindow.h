#pragma once

#include <QRect>
#include <QWidget>

// The small frameless window that drops down from the tray icon. Without a tray it is an
// ordinary window, so the application stays reachable; closing it then only hides it.
class PopoverWindow : public QWidget {
    Q_OBJECT
public:
    PopoverWindow(QWidget* content, bool asOrdinaryWindow, QWidget* parent = nullptr);

    // Below the tray icon when its place is known, else in the top-right corner of the
    // screen under the pointer.
    void showUnder(const QRect& trayIconGeometry);
    void toggleUnder(const QRect& trayIconGeometry);
    // An ordinary window has a taskbar entry and stays until closed; a popover drops down.
    void setOrdinaryWindow(bool ordinary);
    bool isOrdinaryWindow() const { return m_ordinary; }
    // Where the popover goes for an icon at that place on a screen of that area.
    static QPoint placement(const QSize& size, const QRect& trayIconGeometry,
                            const QRect& screenArea);

signals:
    void shown();
    void hidden();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    static Qt::WindowFlags flags(bool ordinary);

    bool m_ordinary;
};
