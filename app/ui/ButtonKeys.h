#pragma once

#include <QObject>

class QAbstractButton;

// Works a button from the keyboard as a native one: Return and Enter click it, and Space
// reaches it before a window shortcut on Space (the panel's start and pause).
class ButtonKeys : public QObject {
    Q_OBJECT
public:
    static void install(QAbstractButton* button);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    using QObject::QObject;
};
