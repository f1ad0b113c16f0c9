#pragma once

class QLabel;
class QWidget;

// The white header strip of the task screens, with its title centred in dark grey.
class TaskScreenHeader {
public:
    static constexpr int height = 52;

    static void style(QWidget* viewSide, QLabel* title, const char* titleKey);
};
