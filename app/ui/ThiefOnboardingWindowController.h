#pragma once

#include <functional>

#include <QWidget>

class QLabel;
class QPushButton;
class Settings;

// Asks once, at a start, whether Zestra may look at the frontmost application. It counts as
// shown as soon as it is on screen, whatever the user answers.
class ThiefOnboardingWindowController : public QWidget {
    Q_OBJECT
public:
    // `startScan` starts the scanner after an agreement; `canSee` is false on a desktop that
    // does not let Zestra see the frontmost application, which the window then says.
    ThiefOnboardingWindowController(Settings& settings, std::function<void()> startScan,
                                    bool canSee, QWidget* parent = nullptr);

    void doAgreeButtonTap();
    void doCancelButtonTap();

    QLabel* labelUnsupported() const { return m_labelUnsupported; }
    QPushButton* buttonAgree() const { return m_buttonAgree; }
    QPushButton* buttonCancel() const { return m_buttonCancel; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    Settings& m_settings;
    std::function<void()> m_startScan;
    QLabel* m_labelUnsupported;
    QPushButton* m_buttonAgree;
    QPushButton* m_buttonCancel;
};
