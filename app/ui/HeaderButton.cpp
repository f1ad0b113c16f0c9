#include "ui/HeaderButton.h"

#include "ui/SvgPixmap.h"

QIcon HeaderButton::icon(const QString& image)
{
    const QSize size(20, 20);
    QIcon icon;
    icon.addPixmap(SvgPixmap::tinted(image, size, Qt::white), QIcon::Normal);
    icon.addPixmap(SvgPixmap::tinted(image, size, QColor(0x66, 0x66, 0x66)), QIcon::Disabled);
    return icon;
}

QString HeaderButton::styleSheet()
{
    return QStringLiteral(
        "QToolButton, QPushButton { border: 2px solid transparent; border-radius: 8px;"
        " background: transparent; color: white; padding: 4px 10px; }"
        "QToolButton:hover, QPushButton:hover { background-color: #474747; }"
        "QToolButton:pressed, QPushButton:pressed { background-color: #555555; }"
        "QToolButton:focus, QPushButton:focus { border-color: #59b6e8; }"
        "QToolButton::menu-indicator { image: none; }"
        "QPushButton { border-color: #5a5a5a; }"
        "QPushButton:disabled { color: #666666; border-color: #444444; }");
}
