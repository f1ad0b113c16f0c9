#pragma once

#include <QString>

// Told by the rename popover that its stored task interval now belongs to another task.
class RenameDelegate {
public:
    virtual ~RenameDelegate() = default;
    virtual void intervalNameChanged(const QString& newName) = 0;
};
