#pragma once
// The five tabs of the app viewer and what a click on each does. Tabs are known by their index:
// the app's tab bears the app's name, which may be any text, also another tab's caption.

#include <string_view>

namespace viewer {

inline constexpr int TabCount = 5;
inline constexpr int AppTab = 0; // captioned with the app's name
inline constexpr int DescriptionTab = 1;
inline constexpr int SourceTab = 2;
inline constexpr int ReloadTab = 3;
inline constexpr int FullScreenTab = 4; // its caption says what a click does: enter or leave
inline constexpr std::string_view AppTabDesignCaption = "应用";
inline constexpr std::string_view DescriptionCaption = "应用介绍";
inline constexpr std::string_view SourceCaption = "应用来源";
inline constexpr std::string_view ReloadCaption = "重载应用";
inline constexpr std::string_view FullScreenCaption = "全屏应用";
inline constexpr std::string_view LeaveFullScreenCaption = "退出全屏";
// The frames' captions: the app's name followed by these.
inline constexpr std::string_view DescriptionFrameSuffix = "介绍：";
inline constexpr std::string_view SourceFrameSuffix = "来源：";

// What the tab at index shows.
enum class TabContent { Description, Source, App };
TabContent tabContent(int index);

// What a click on the tab at index does before the current tab is laid out; fullScreen tells
// whether the viewer is in full screen at the click.
enum class TabCommand { None, Reload, EnterFullScreen, LeaveFullScreen };
TabCommand tabCommand(int index, bool fullScreen);

} // namespace viewer
