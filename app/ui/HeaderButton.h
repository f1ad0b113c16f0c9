#pragma once

#include <QIcon>
#include <QString>
#include <QWidget>

// The flat buttons of the dark window headers: white icons, dimmed when the button is off.
class HeaderButton {
public:
    static QIcon icon(const QString& image);
    static QString styleSheet();

    template <typename Button> static Button* make(QWidget* parent, const QString& image)
    {
        auto* button = new Button(parent);
        if (!image.isEmpty()) {
            button->setIcon(icon(image));
            button->setIconSize(QSize(20, 20));
        }
        button->setCursor(Qt::PointingHandCursor);
        button->setFocusPolicy(Qt::TabFocus);
        button->setStyleSheet(styleSheet());
        return button;
    }
};
