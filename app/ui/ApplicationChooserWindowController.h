#pragma once

#include <QDialog>
#include <QList>

#include "thieves/DesktopEntry.h"

class DataController;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

// The sheet that adds an application thief: the installed applications by name and icon,
// or a desktop entry file chosen by hand.
class ApplicationChooserWindowController : public QDialog {
    Q_OBJECT
public:
    ApplicationChooserWindowController(DataController& store, QList<DesktopEntry> entries,
                                       QWidget* parent = nullptr);

    // Adds the chosen entry as an active thief and ends the sheet with 1; an entry without
    // a name or an id is refused with a message and the sheet stays open.
    bool choose(const DesktopEntry& entry);
    void doChooseButtonTap();
    void doChooseFileButtonTap();
    bool success() const { return m_success; }

    QLineEdit* textFilter() const { return m_textFilter; }
    QListWidget* listApplications() const { return m_listApplications; }
    QLabel* labelError() const { return m_labelError; }
    QPushButton* buttonChoose() const { return m_buttonChoose; }

private:
    void applyFilter(const QString& text);
    void fail(const QString& message);

    DataController& m_store;
    QList<DesktopEntry> m_entries;
    bool m_success = false;
    QLineEdit* m_textFilter;
    QListWidget* m_listApplications;
    QLabel* m_labelError;
    QPushButton* m_buttonChoose;
};
