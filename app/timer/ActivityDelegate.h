#pragma once

class Activity;

// Told of every tick and phase change of the countdown, on the main thread.
class ActivityDelegate {
public:
    virtual ~ActivityDelegate() = default;

    virtual void activityDidUpdateTask(Activity& activity, int remaining) = 0;
    virtual void activityDidUpdateFreeTime(Activity& activity, int remaining) = 0;
    virtual void activityDidStartTask(Activity& activity) = 0;
    virtual void activityDidFinishTask(Activity& activity) = 0;
    virtual void activityDidStartFreeTime(Activity& activity) = 0;
    virtual void activityDidFinishFreeTime(Activity& activity) = 0;
    virtual void activityDidPause(Activity& activity) = 0;
};
