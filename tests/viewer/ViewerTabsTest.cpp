#include "viewer/ViewerTabs.h"

#include <gtest/gtest.h>

using namespace viewer;

TEST(ViewerTabs, CaptionsChooseContentAndCommand) {
    EXPECT_EQ(tabContent(DescriptionCaption), TabContent::Description);
    EXPECT_EQ(tabContent(SourceCaption), TabContent::Source);
    for (std::string_view other :
         {std::string_view("Puzzle"), ReloadCaption, FullScreenCaption, std::string_view()})
        EXPECT_EQ(tabContent(other), TabContent::App);

    EXPECT_EQ(tabCommand(ReloadCaption), TabCommand::Reload);
    EXPECT_EQ(tabCommand(FullScreenCaption), TabCommand::EnterFullScreen);
    EXPECT_EQ(tabCommand(LeaveFullScreenCaption), TabCommand::LeaveFullScreen);
    EXPECT_EQ(tabCommand(DescriptionCaption), TabCommand::None);
    // An app named like a command tab would act as one, as the captions decide.
    EXPECT_EQ(tabCommand("重载应用"), TabCommand::Reload);
}
