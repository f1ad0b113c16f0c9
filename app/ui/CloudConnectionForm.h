#pragma once

#include <optional>

#include <QString>

// What the Cloud pane's three fields make: the URI kept in the settings (the server's, with
// the user and without any password) and the password for the keyring.
class CloudConnectionForm {
public:
    struct Fields {
        QString server;
        QString user;
        QString password;
    };
    struct Connection {
        QString uri;
        QString user;
        std::optional<QString> password;
    };

    // Absent, with `error` (a text for the user), when the server is no postgresql:// URI or
    // no user is named. A user or password written into the server URI count as typed.
    static std::optional<Connection> connection(const Fields& fields, QString& error);
    // The fields a stored URI fills: the server without its user, and the user.
    static Fields fields(const QString& uri);
};
