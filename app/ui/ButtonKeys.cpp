#include "ui/ButtonKeys.h"

#include <QAbstractButton>
#include <QKeyEvent>

namespace {

bool isActivationKey(const QKeyEvent& key)
{
    if ((key.modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return false;
    return key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter || key.key() == Qt::Key_Space;
}

} // namespace

void ButtonKeys::install(QAbstractButton* button)
{
    button->installEventFilter(new ButtonKeys(button));
}

bool ButtonKeys::eventFilter(QObject* watched, QEvent* event)
{
    auto* button = qobject_cast<QAbstractButton*>(watched);
    if (!button)
        return false;
    if (event->type() == QEvent::ShortcutOverride) {
        if (!isActivationKey(*static_cast<QKeyEvent*>(event)))
            return false;
        event->accept();
        return true;
    }
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        // Space stays with the button itself, which clicks on release as usual.
        if (isActivationKey(*key) && key->key() != Qt::Key_Space && button->isEnabled()) {
            button->click();
            return true;
        }
    }
    return false;
}
