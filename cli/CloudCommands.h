#pragma once

#include "CommandArguments.h"
#include "Terminal.h"

struct CloudError;

// `cloud init --admin <uri>` creates or upgrades the cloud schema; `cloud add-user <name>
// --admin <uri> [--quota-mb N]` adds a user and prints the URI the application connects with;
// `cloud connect <uri>` makes it this user's database; `cloud status` says how it stands.
class CloudCommands {
public:
    static ExitStatus cloud(const CommandArguments& arguments);

private:
    static ExitStatus init(const QString& adminUri);
    static ExitStatus addUser(const QString& adminUri, const QString& name, qint64 quotaBytes);
    static ExitStatus connect(const QString& uri);
    static ExitStatus status();
    // Says what failed on standard error and answers its exit status.
    static ExitStatus failed(const QString& action, const CloudError& error);
};
