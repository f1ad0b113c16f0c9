#pragma once

#include <functional>
#include <optional>

#include <QWidget>

#include "ui/CloudConnectionForm.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QThread;
class Settings;

// The Cloud pane: which database this user syncs with, a test of the connection, when the
// last sync ran, and a sync now.
class CloudPreferencesViewController : public QWidget {
    Q_OBJECT
public:
    struct Hooks {
        // Runs a sync at once; without one the button is off.
        std::function<void()> syncNow;
        // A new database was saved: the sync engine connects to it.
        std::function<void()> connectionChanged;
    };

    explicit CloudPreferencesViewController(Settings& settings, Hooks hooks = {},
                                            QWidget* parent = nullptr);
    ~CloudPreferencesViewController() override;

    void reload();
    // Keeps the URI in the settings and the password in the keyring; false, with the reason
    // shown, when the fields make no connection or the password could not be kept.
    bool doSaveButtonTap();
    // Asks the server in the background; testFinished() follows with what it answered.
    void doTestButtonTap();

    QLineEdit* textServer = nullptr;
    QLineEdit* textUser = nullptr;
    QLineEdit* textPassword = nullptr;
    QPushButton* buttonSave = nullptr;
    QPushButton* buttonTest = nullptr;
    QPushButton* buttonSyncNow = nullptr;
    QLabel* labelStatus = nullptr;
    QLabel* labelLastSync = nullptr;

signals:
    void testFinished(bool reached);

private:
    void showStatus(const QString& text, bool problem);
    // What the fields make; absent (and said) when they make no connection.
    std::optional<CloudConnectionForm::Connection> typedConnection();

    Settings& m_settings;
    Hooks m_hooks;
    QThread* m_test = nullptr;
};
