#include "ui/EmptyTaskAdapter.h"

EmptyTaskAdapter::EmptyTaskAdapter(QString title, QString tagline)
    : title(std::move(title))
    , tagline(std::move(tagline))
{}
