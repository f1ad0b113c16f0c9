#pragma once

#include <optional>

#include <QString>
#include <QUrl>

// The message and the link the report window shares.
class ShareContent {
public:
    // `format` holds one "%@" for `periodWord`, which is empty for a custom period.
    // `linkText` becomes the link only when it is a complete web address.
    ShareContent(const QString& format, const QString& periodWord, const QString& linkText);

    // The shared texts of a segment, from the translations.
    static ShareContent forSegment(int segment);

    QString message() const { return m_message; }
    std::optional<QUrl> link() const { return m_link; }
    // The message, and the link on a line of its own when there is one.
    QString clipboardText() const;

private:
    QString m_message;
    std::optional<QUrl> m_link;
};
