// Runs a real one-second DispatchTimer on the system clock and prints, on one line, how
// far its ticks strayed from their whole-second deadlines and the CPU the process spent.
//   timer_jitter [--seconds N] [--each]
// N is 60 by default; --each also writes every tick's deviation to standard error.

#include <algorithm>
#include <cmath>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <future>
#include <mutex>
#include <vector>

#include <time.h>

#include "dispatch/Clock.h"
#include "dispatch/DispatchTimer.h"
#include "dispatch/SerialQueue.h"

namespace {

double processCpuSeconds()
{
    timespec spent{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &spent);
    return double(spent.tv_sec) + double(spent.tv_nsec) / 1e9;
}

struct Options {
    int seconds = 60;
    bool each = false;
};

Options parseOptions(int argc, char** argv)
{
    Options options;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--seconds") == 0 && i + 1 < argc)
            options.seconds = std::max(1, std::atoi(argv[++i]));
        else if (std::strcmp(argv[i], "--each") == 0)
            options.each = true;
    }
    return options;
}

} // namespace

int main(int argc, char** argv)
{
    const Options options = parseOptions(argc, argv);
    const int seconds = options.seconds;
    // Ticks at start + 0 … start + seconds.
    const size_t wanted = size_t(seconds) + 1;

    std::mutex mutex;
    std::condition_variable done;
    std::vector<double> ticks;
    ticks.reserve(wanted);

    SerialQueue queue(QStringLiteral("org.zestra.Zestra./Timer"));
    DispatchTimer timer(queue, [&] {
        const double now = Clock::current();
        std::lock_guard lock(mutex);
        ticks.push_back(now);
        if (ticks.size() == wanted)
            done.notify_one();
    });

    // The queue's worker and the clock's thread are started and run once first: the run
    // measures the timer, not how long a new thread takes to start.
    queue.sync([] {});
    {
        std::promise<void> ran;
        Clock::shared()->callAt(Clock::current(), [&ran] { ran.set_value(); });
        ran.get_future().wait();
    }

    const double cpuBefore = processCpuSeconds();
    const double start = Clock::current();
    timer.schedule(start, 1.0, 0.001);
    timer.resume();
    {
        std::unique_lock lock(mutex);
        done.wait(lock, [&] { return ticks.size() >= wanted; });
    }
    timer.cancel();
    const double cpuSpent = processCpuSeconds() - cpuBefore;

    std::lock_guard lock(mutex);
    double maxDeviation = 0;
    for (size_t k = 0; k < wanted; ++k) {
        const double deviation = ticks[k] - (start + double(k));
        if (options.each)
            std::fprintf(stderr, "tick %zu: %+.3f ms\n", k, deviation * 1000.0);
        maxDeviation = std::max(maxDeviation, std::abs(deviation));
    }
    const double drift = std::abs(ticks[wanted - 1] - (start + double(seconds)));
    std::printf("max_deviation_ms=%.3f drift_ms=%.3f cpu_ms=%.3f\n", maxDeviation * 1000.0,
                drift * 1000.0, cpuSpent * 1000.0);
    return 0;
}
