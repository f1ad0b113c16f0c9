#include <gtest/gtest.h>

#include <optional>

#include "ui/ScreenTransition.h"

namespace {

using D = TransitionDestination;
using S = SlideDirection;

enum class Request { taskList, taskCreation, activity };

struct Row {
    const char* name;
    Request request;
    std::optional<D> shown;
    std::optional<ScreenTransition> expected;
};

std::optional<ScreenTransition> ask(Request request, std::optional<D> shown)
{
    switch (request) {
    case Request::taskList:
        return ScreenTransition::toTaskList(shown);
    case Request::taskCreation:
        return ScreenTransition::toTaskCreation(shown);
    case Request::activity:
        return ScreenTransition::toActivity(shown);
    }
    return std::nullopt;
}

class ScreenTransitionTest : public ::testing::TestWithParam<Row> {};

TEST_P(ScreenTransitionTest, LeadsToTheScreenWithTheRightSlide)
{
    const Row& row = GetParam();
    const auto answer = ask(row.request, row.shown);
    ASSERT_EQ(answer.has_value(), row.expected.has_value());
    if (answer) {
        EXPECT_EQ(answer->destination, row.expected->destination);
        EXPECT_EQ(answer->slide, row.expected->slide);
    }
}

constexpr auto none = std::nullopt;

INSTANTIATE_TEST_SUITE_P(
    Table, ScreenTransitionTest,
    ::testing::Values(Row{"ListFromActivitySlidesLeft", Request::taskList, D::activity,
                          ScreenTransition{D::taskList, S::left}},
                      Row{"ListFromCreatorSlidesRight", Request::taskList, D::taskCreation,
                          ScreenTransition{D::taskList, S::right}},
                      Row{"ListFromMessageSlidesLeft", Request::taskList, D::message,
                          ScreenTransition{D::taskList, S::left}},
                      Row{"ListAlreadyShownDoesNothing", Request::taskList, D::taskList, none},
                      Row{"CreatorFromListSlidesLeft", Request::taskCreation, D::taskList,
                          ScreenTransition{D::taskCreation, S::left}},
                      Row{"CreatorFromActivitySlidesLeft", Request::taskCreation, D::activity,
                          ScreenTransition{D::taskCreation, S::left}},
                      Row{"CreatorAlreadyShownDoesNothing", Request::taskCreation, D::taskCreation,
                          none},
                      Row{"ActivityFromListSlidesRight", Request::activity, D::taskList,
                          ScreenTransition{D::activity, S::right}},
                      Row{"ActivityFromCreatorSlidesRight", Request::activity, D::taskCreation,
                          ScreenTransition{D::activity, S::right}},
                      Row{"ActivityFromMessageSlidesLeft", Request::activity, D::message,
                          ScreenTransition{D::activity, S::left}},
                      Row{"ActivityAlreadyShownDoesNothing", Request::activity, D::activity, none},
                      Row{"NoScreenYetListDoesNothing", Request::taskList, none, none},
                      Row{"NoScreenYetCreatorDoesNothing", Request::taskCreation, none, none},
                      Row{"NoScreenYetActivityDoesNothing", Request::activity, none, none}),
    [](const ::testing::TestParamInfo<Row>& info) { return std::string(info.param.name); });

} // namespace
