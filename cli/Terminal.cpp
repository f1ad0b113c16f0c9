#include "Terminal.h"

#include <cstdio>

namespace {

void write(std::FILE* stream, const QByteArray& bytes)
{
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stream);
    std::fflush(stream);
}

} // namespace

void Terminal::printJson(const QJsonDocument& document)
{
    write(stdout, document.toJson(QJsonDocument::Indented));
}

void Terminal::printText(const QString& text)
{
    write(stdout, text.toUtf8());
}

void Terminal::printError(const QString& message)
{
    write(stderr, QByteArrayLiteral("zestra-cli: ") + message.toUtf8() + '\n');
}

void Terminal::printDiagnostic(const QString& line)
{
    write(stderr, line.toUtf8() + '\n');
}
