#include "viewer/ViewerTabs.h"

namespace viewer {

TabContent tabContent(std::string_view caption) {
    if (caption == DescriptionCaption) return TabContent::Description;
    if (caption == SourceCaption) return TabContent::Source;
    return TabContent::App;
}

TabCommand tabCommand(std::string_view caption) {
    if (caption == ReloadCaption) return TabCommand::Reload;
    if (caption == FullScreenCaption) return TabCommand::EnterFullScreen;
    if (caption == LeaveFullScreenCaption) return TabCommand::LeaveFullScreen;
    return TabCommand::None;
}

} // namespace viewer
