#pragma once

#include <optional>

#include <QDialog>

#include "store/Date.h"

class QDateEdit;
class QLabel;
class QPushButton;

// The custom-period sheet: two days, and a button that asks for their report. Ends with
// ShowAnswer when the user asks for it.
class PeriodWindowController : public QDialog {
    Q_OBJECT
public:
    static constexpr int ShowAnswer = 1;

    // The pickers start on the week that ends on `day`.
    explicit PeriodWindowController(Date day, QWidget* parent = nullptr);

    void doShow();
    void doClose();

    // Local midnight of the chosen days, once the show button was pressed.
    std::optional<Date> periodStart;
    std::optional<Date> periodEnd;

    QLabel* labelTitle = nullptr;
    QLabel* labelStartTitle = nullptr;
    QLabel* labelEndTitle = nullptr;
    QDateEdit* pickerStart = nullptr;
    QDateEdit* pickerEnd = nullptr;
    QPushButton* buttonShow = nullptr;
    QPushButton* buttonClose = nullptr;
};
