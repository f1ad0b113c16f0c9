#pragma once

#include <functional>

#include <QString>

class QWidget;

// Every modal alert of the application goes through here, so a test can take the alerts
// instead of a screen showing them and waiting for a click.
class MessageBox {
public:
    struct Alert {
        QString message;
        QString informativeText;
        QString button;
    };
    using Presenter = std::function<void(const Alert& alert)>;

    // An informational alert with one button; returns when it is dismissed.
    static void information(QWidget* parent, const Alert& alert);
    // The same for a failure the user has to know about.
    static void critical(QWidget* parent, const Alert& alert);

    // Tests: alerts go to the presenter instead of the screen; an empty one restores the
    // screen.
    static void setPresenter(Presenter presenter);

private:
    static void show(int icon, QWidget* parent, const Alert& alert);
};
