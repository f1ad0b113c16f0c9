#include "store/TaskInfoParameter.h"

TaskInfoParameter::TaskInfoParameter(QString named, QString withColor)
    : TaskInfoParameter(std::move(named), std::move(withColor), Date::now())
{}

TaskInfoParameter::TaskInfoParameter(QString named, QString withColor, Date createdAt)
    : name(std::move(named))
    , color(std::move(withColor))
    , createdAt(createdAt)
{}
