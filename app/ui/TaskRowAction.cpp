#include "ui/TaskRowAction.h"

QList<TaskRowAction> TaskRowAction::trailing()
{
    return {
        {Kind::remove, "CELL_ACTION_DELETE", QStringLiteral("TableAction-Delete"),
         QStringLiteral("#f72020")},
        {Kind::edit, "CELL_ACTION_EDIT", QStringLiteral("TableAction-Edit"),
         QStringLiteral("#59b6e8")},
    };
}
