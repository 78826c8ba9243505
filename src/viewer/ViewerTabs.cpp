#include "viewer/ViewerTabs.h"

namespace viewer {

TabContent tabContent(int index) {
    switch (index) {
    case DescriptionTab:
        return TabContent::Description;
    case SourceTab:
        return TabContent::Source;
    default:
        return TabContent::App;
    }
}

TabCommand tabCommand(int index, bool fullScreen) {
    switch (index) {
    case ReloadTab:
        return TabCommand::Reload;
    case FullScreenTab:
        return fullScreen ? TabCommand::LeaveFullScreen : TabCommand::EnterFullScreen;
    default:
        return TabCommand::None;
    }
}

} // namespace viewer
