#include "ui/ScreenTransition.h"

std::optional<ScreenTransition>
ScreenTransition::toTaskList(std::optional<TransitionDestination> shown)
{
    if (!shown || *shown == TransitionDestination::taskList)
        return std::nullopt;
    // Back from the creator reads as a step back; from anywhere else the list comes forward.
    const auto slide = *shown == TransitionDestination::taskCreation ? SlideDirection::right
                                                                     : SlideDirection::left;
    return ScreenTransition{TransitionDestination::taskList, slide};
}

std::optional<ScreenTransition>
ScreenTransition::toTaskCreation(std::optional<TransitionDestination> shown)
{
    if (!shown || *shown == TransitionDestination::taskCreation)
        return std::nullopt;
    return ScreenTransition{TransitionDestination::taskCreation, SlideDirection::left};
}

std::optional<ScreenTransition>
ScreenTransition::toActivity(std::optional<TransitionDestination> shown)
{
    if (!shown || *shown == TransitionDestination::activity)
        return std::nullopt;
    // The welcome leads forward into the panel; the task screens lead back to it.
    const auto slide =
        *shown == TransitionDestination::message ? SlideDirection::left : SlideDirection::right;
    return ScreenTransition{TransitionDestination::activity, slide};
}
