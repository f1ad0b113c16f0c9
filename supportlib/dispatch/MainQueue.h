#pragma once

#include <functional>

#include "chimebox_export.h"

class QObject;

// Runs work on the Qt main thread (the thread of the QCoreApplication).
class CHIMEBOX_EXPORT MainQueue {
public:
    static void post(std::function<void()> fn);
    // Dropped unnoticed when context is destroyed before the call runs.
    static void post(const QObject* context, std::function<void()> fn);
    // Delays are measured on the shared Clock, so a test clock can bring them forward.
    static void postAfter(double seconds, std::function<void()> fn);
    static bool isMainThread();
};
