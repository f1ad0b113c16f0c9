#include "ui/ShareContent.h"

#include "store/Localization.h"
#include "ui/ReportSegments.h"

ShareContent::ShareContent(const QString& format, const QString& periodWord,
                           const QString& linkText)
{
    // Filled in one pass, and without the blank an empty word would leave.
    QString message = format;
    const qsizetype at = message.indexOf(QStringLiteral("%@"));
    if (at >= 0)
        message.replace(at, 2, periodWord);
    m_message = message.simplified();

    const QUrl link(linkText.trimmed(), QUrl::StrictMode);
    const bool web =
        link.scheme() == QLatin1String("https") || link.scheme() == QLatin1String("http");
    if (link.isValid() && web && !link.host().isEmpty())
        m_link = link;
}

ShareContent ShareContent::forSegment(int segment)
{
    const char* wordKey = ReportSegments::periodWordKey(segment);
    return ShareContent(Localization::text("SHARE_TWITTER_BODY"),
                        wordKey ? Localization::text(wordKey) : QString(),
                        Localization::text("SHARE_URL"));
}

QString ShareContent::clipboardText() const
{
    return m_link ? m_message + QLatin1Char('\n') + m_link->toString() : m_message;
}
