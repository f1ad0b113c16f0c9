#pragma once

#include <QDialog>

class DataController;
class QLabel;
class QLineEdit;
class QPushButton;

// The sheet that adds a website thief by hand. Invalid input keeps it open, says why, and
// saves nothing.
class ThiefCreatorWindowController : public QDialog {
    Q_OBJECT
public:
    explicit ThiefCreatorWindowController(DataController& store, QWidget* parent = nullptr);

    // Saves the thief and ends the sheet with 1 when the input makes one.
    void doSaveButtonTap();
    bool success() const { return m_success; }

    QLineEdit* textName() const { return m_textName; }
    QLineEdit* textDomain() const { return m_textDomain; }
    QLabel* labelError() const { return m_labelError; }
    QPushButton* buttonSave() const { return m_buttonSave; }
    QPushButton* buttonClose() const { return m_buttonClose; }

private:
    DataController& m_store;
    bool m_success = false;
    QLineEdit* m_textName;
    QLineEdit* m_textDomain;
    QLabel* m_labelError;
    QPushButton* m_buttonSave;
    QPushButton* m_buttonClose;
};
