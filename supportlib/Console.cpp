#include "Console.h"

#include <cstdio>
#include <mutex>

namespace {

std::mutex& sinkMutex()
{
    static std::mutex m;
    return m;
}

std::function<void(const QString&)>& installedSink()
{
    static std::function<void(const QString&)> sink;
    return sink;
}

} // namespace

void Console::line(const QString& text)
{
    std::lock_guard lock(sinkMutex());
    if (auto& sink = installedSink()) {
        sink(text);
        return;
    }
    const QByteArray bytes = text.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout);
    std::fflush(stdout);
}

void Console::setSink(std::function<void(const QString&)> sink)
{
    std::lock_guard lock(sinkMutex());
    installedSink() = std::move(sink);
}
