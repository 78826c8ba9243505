#pragma once
// The five tabs of the app viewer and what a click on each does. Tabs are told apart by their
// captions, read anew at every click, as the command tabs change theirs.

#include <string_view>

namespace viewer {

inline constexpr int TabCount = 5;
inline constexpr int AppTab = 0; // captioned with the app's name
inline constexpr int FullScreenTab = 4;
inline constexpr std::string_view AppTabDesignCaption = "应用";
inline constexpr std::string_view DescriptionCaption = "应用介绍";
inline constexpr std::string_view SourceCaption = "应用来源";
inline constexpr std::string_view ReloadCaption = "重载应用";
inline constexpr std::string_view FullScreenCaption = "全屏应用";
inline constexpr std::string_view LeaveFullScreenCaption = "退出全屏";
// The frames' captions: the app's name followed by these.
inline constexpr std::string_view DescriptionFrameSuffix = "介绍：";
inline constexpr std::string_view SourceFrameSuffix = "来源：";

// What the current tab shows.
enum class TabContent { Description, Source, App };
TabContent tabContent(std::string_view caption);

// What a click on a tab with this caption does before the current tab is laid out.
enum class TabCommand { None, Reload, EnterFullScreen, LeaveFullScreen };
TabCommand tabCommand(std::string_view caption);

} // namespace viewer
