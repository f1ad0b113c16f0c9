#pragma once

#include <optional>

#include <QString>
#include <QWidget>

#include "timer/WeakDelegate.h"
#include "ui/RenameDelegate.h"

class DataController;
class QComboBox;
class QLabel;

// The small popup that moves one stored task interval, found by its start, to another task
// of the catalogue. It closes when a click lands outside it.
class RenameViewController : public QWidget {
    Q_OBJECT
public:
    explicit RenameViewController(DataController& store, QWidget* parent = nullptr);

    void setTaskStartTime(std::optional<double> start) { m_taskStartTime = start; }
    std::optional<double> taskStartTime() const { return m_taskStartTime; }
    void setDelegate(RenameDelegate* delegate) { m_delegate.set(delegate); }

    // Opens beside the button, to its right, with the catalogue's names (each time anew).
    void showNextTo(QWidget* button);
    // The chosen or typed name, trimmed; only a catalogued task is taken, and only while the
    // popover is open. Answers whether the interval now belongs to it.
    bool commit(const QString& text);

    QComboBox* comboTaskName() const { return m_comboTaskName; }
    QLabel* labelHelp() const { return m_labelHelp; }

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    // Fills the names and the help before the popover is measured and shown.
    void prepare();
    void showHelp(const QString& text, bool warning);

    DataController& m_store;
    QComboBox* m_comboTaskName;
    QLabel* m_labelHelp;
    std::optional<double> m_taskStartTime;
    WeakDelegate<RenameDelegate> m_delegate;
};
