#pragma once

#include <optional>

// The popover's screens, in this order.
enum class TransitionDestination { activity, taskList, taskCreation, message };

// Which way both screens move: `left` brings the new one in from the right edge.
enum class SlideDirection { left, right };

// Where a request to switch screens leads from the screen now shown, and which way it slides.
// No answer means nothing happens: no screen is shown yet, or the request would not change it.
struct ScreenTransition {
    TransitionDestination destination;
    SlideDirection slide;

    static std::optional<ScreenTransition> toTaskList(std::optional<TransitionDestination> shown);
    static std::optional<ScreenTransition>
    toTaskCreation(std::optional<TransitionDestination> shown);
    static std::optional<ScreenTransition> toActivity(std::optional<TransitionDestination> shown);

    bool operator==(const ScreenTransition&) const = default;
};
