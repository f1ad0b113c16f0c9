#include "ui/MessageBox.h"

#include <QMessageBox>

namespace {

MessageBox::Presenter& presenter()
{
    static MessageBox::Presenter current;
    return current;
}

} // namespace

void MessageBox::information(QWidget* parent, const Alert& alert)
{
    show(QMessageBox::Information, parent, alert);
}

void MessageBox::critical(QWidget* parent, const Alert& alert)
{
    show(QMessageBox::Critical, parent, alert);
}

void MessageBox::show(int icon, QWidget* parent, const Alert& alert)
{
    if (presenter()) {
        presenter()(alert);
        return;
    }
    QMessageBox box(static_cast<QMessageBox::Icon>(icon), QString(), alert.message,
                    QMessageBox::NoButton, parent);
    box.setInformativeText(alert.informativeText);
    box.addButton(alert.button, QMessageBox::AcceptRole);
    box.exec();
}

void MessageBox::setPresenter(Presenter replacement)
{
    presenter() = std::move(replacement);
}
