#include "ui/PeriodWindowController.h"

#include <QDateEdit>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "store/Localization.h"

namespace {

QDateEdit* picker(QDate date)
{
    auto* edit = new QDateEdit(date);
    edit->setCalendarPopup(true);
    edit->setDisplayFormat(QLocale().dateFormat(QLocale::ShortFormat));
    return edit;
}

Date startOf(QDate day)
{
    return Date::fromDateTime(day.startOfDay());
}

} // namespace

PeriodWindowController::PeriodWindowController(Date day, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("PeriodWindowController"));
    setWindowModality(Qt::WindowModal);
    setWindowTitle(Localization::text("PERIOD_TITLE"));

    labelTitle = new QLabel(Localization::text("PERIOD_TITLE"));
    QFont title = labelTitle->font();
    title.setBold(true);
    title.setPointSizeF(title.pointSizeF() * 1.2);
    labelTitle->setFont(title);
    labelStartTitle = new QLabel(Localization::text("PERIOD_START_DATE_TITLE"));
    labelEndTitle = new QLabel(Localization::text("PERIOD_END_DATE_TITLE"));
    const QDate last = day.toDateTime().date();
    pickerStart = picker(day.weekAgo().toDateTime().date());
    pickerEnd = picker(last);
    pickerEnd->setMinimumDate(pickerStart->date());
    connect(pickerStart, &QDateEdit::dateChanged, pickerEnd, &QDateEdit::setMinimumDate);
    labelStartTitle->setBuddy(pickerStart);
    labelEndTitle->setBuddy(pickerEnd);

    buttonShow = new QPushButton(Localization::text("PERIOD_CTA_BUTTON"));
    buttonShow->setDefault(true);
    buttonClose = new QPushButton(Localization::text("PERIOD_CLOSE_BUTTON"));
    connect(buttonShow, &QPushButton::clicked, this, &PeriodWindowController::doShow);
    connect(buttonClose, &QPushButton::clicked, this, &PeriodWindowController::doClose);

    auto* form = new QFormLayout;
    form->addRow(labelStartTitle, pickerStart);
    form->addRow(labelEndTitle, pickerEnd);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(buttonClose);
    buttons->addWidget(buttonShow);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(labelTitle);
    layout->addLayout(form);
    layout->addLayout(buttons);
}

void PeriodWindowController::doShow()
{
    periodStart = startOf(pickerStart->date());
    periodEnd = startOf(pickerEnd->date());
    done(ShowAnswer);
}

void PeriodWindowController::doClose()
{
    done(QDialog::Rejected);
}
