#include "cloud/CloudOperation.h"

std::optional<CloudOperation::Record> CloudOperation::recordFromCode(int code)
{
    switch (code) {
    case int(Record::task):
    case int(Record::session):
    case int(Record::goal):
    case int(Record::thief):
    case int(Record::workActivity):
    case int(Record::taskInfo):
        return Record(code);
    default:
        return std::nullopt;
    }
}

std::optional<CloudOperation::Operation> CloudOperation::operationFromCode(int code)
{
    if (code < int(Operation::save) || code > int(Operation::remove))
        return std::nullopt;
    return Operation(code);
}

bool CloudOperation::isSupported() const
{
    switch (recordType) {
    case Record::task:
    case Record::taskInfo:
        return true;
    case Record::session:
    case Record::goal:
        return operation == Operation::save;
    case Record::thief:
        return operation != Operation::remove;
    case Record::workActivity:
        return operation != Operation::update;
    }
    return false;
}
