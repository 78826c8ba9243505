#include "AppPages.h"

#include "EmbeddedFiles.h"
#include "StoreHtml.h"

#include <cstdio>

namespace appstore {

namespace {

// The canvas apps' common look; each app adds its own colours and parts.
constexpr std::string_view kCanvasStyle =
    "<style>\n"
    "body { margin: 0; font: 15px \"Microsoft YaHei\", \"WenQuanYi Zen Hei\", sans-serif; display: flex; "
    "flex-direction: column; align-items: center; }\n"
    "h1 { margin: 12px 0 8px; font-size: 24px; }\n"
    "</style>\n";

std::string idText(const StoreApp& app) {
    return std::to_string(app.id);
}

bool isMovieApp(const StoreApp& app) {
    return app.kind == "flash";
}

// A value of the detail page's script: HTML-escaped (so no quote or tag can end the string or the
// script) with backslashes doubled. Values hold no ASCII comma, since readers cut a value at the
// first comma; the catalogue's texts use the full-width "，".
std::string scriptValue(std::string_view text) {
    std::string out;
    for (char c : escapeHtml(text)) {
        if (c == '\\') out += '\\';
        out += c;
    }
    return out;
}

std::string usersText(std::int64_t users) {
    char text[48];
    std::snprintf(text, sizeof text, "%lld", static_cast<long long>(users));
    return text;
}

// The description as the store keeps it: HTML markup escaped in the script text, with written-out
// line breaks.
std::string scriptDescription(const StoreApp& app) {
    return scriptValue(app.description) + "&lt;br&gt;&lt;br&gt;上架日期：" + scriptValue(app.added) +
           "\\r\\n使用人数：" + usersText(app.users) + "\\r\\n评分：" +
           std::to_string(app.rating).substr(0, 3);
}

// Which of the bundled HTML5 apps a page app runs, by its category.
std::string_view canvasName(const StoreApp& app) {
    static constexpr std::string_view games[] = {"game2048", "snake", "memory"};
    switch (app.cid) {
    case 1: // games
        return games[app.id % 3];
    case 2: // music
        return "piano";
    case 3: // tools
        return app.leafCid == 13   ? "drawpad"
               : app.leafCid == 12 ? "memory"
               : app.id % 2        ? "calculator"
                                   : "notes";
    case 4: // reading
        return "notes";
    case 5: // video
        return app.id % 2 ? "drawpad" : "memory";
    default: // life
        return app.id % 2 ? "calculator" : "notes";
    }
}

std::string page(std::string_view title, std::string_view head, std::string_view body) {
    return "<!DOCTYPE html>\n<html lang=\"zh-CN\">\n<head>\n<meta charset=\"utf-8\" />\n<title>" +
           std::string(title) + "</title>\n" + std::string(head) + "</head>\n<body>\n" + std::string(body) +
           "</body>\n</html>\n";
}

} // namespace

std::optional<StoreApp> AppPages::find(std::string_view id) const {
    const auto number = wholeNumber(id);
    return number ? catalog_.app(*number) : std::nullopt;
}

std::string AppPages::detailAddress(std::string_view site, const StoreApp& app) {
    return std::string(site) + (isMovieApp(app) ? "/widget/detail?id=" : "/appweb/detail?id=") + idText(app);
}

std::optional<std::string> AppPages::entry(std::string_view site, std::string_view id) const {
    const auto app = find(id);
    if (!app) return std::nullopt;
    const std::string target = detailAddress(site, *app), name = escapeHtml(app->name);
    return page(name + " - 应用商店",
                "<script type=\"text/javascript\">\ntop.location.href = \"" + target + "\";\n</script>\n",
                "<p>正在打开“" + name + "”……</p>\n<p><a href=\"" + target +
                    "\" target=\"_top\">如果页面没有自动跳转，请点击这里</a></p>\n");
}

std::optional<std::string> AppPages::movieDetail(std::string_view site, std::string_view id) const {
    const auto app = find(id);
    if (!app || !isMovieApp(*app)) return std::nullopt;
    return detail(site, *app);
}

std::optional<std::string> AppPages::pageDetail(std::string_view site, std::string_view id) const {
    const auto app = find(id);
    if (!app || isMovieApp(*app)) return std::nullopt;
    return detail(site, *app);
}

std::string AppPages::detail(std::string_view site, const StoreApp& app) const {
    const std::string s(site), id = idText(app), name = escapeHtml(app.name);
    const std::string icon = s + "/static/icons/app-" + id + ".svg";
    const std::string movieUrl = isMovieApp(app) ? s + "/widget/swf/" + app.movie : std::string();
    // The script comes first: the app box reads each field from its first occurrence in the page.
    std::string body = "<script type=\"text/javascript\">\nvar appInfo = {\n";
    body += "    app_id:" + id + ",\n";
    body += "    app_name:\"" + scriptValue(app.name) + "\",\n";
    body += "    flash : \"" + movieUrl + "\",\n";
    body += "    description : \"" + scriptDescription(app) + "\",\n";
    body += "    app_logo : \"" + icon + "\",\n";
    body += "    app_icon : \"" + icon + "\",\n";
    body += "    developer_name : \"" + scriptValue(app.developer) + "\",\n";
    body += "    developer_email : \"" + scriptValue(app.developerEmail) + "\",\n";
    body += "    developer_introduction : \"" + scriptValue(app.developerIntroduction) + "\",\n";
    body += "    users : " + usersText(app.users) + "\n};\n</script>\n";

    body += "<div class=\"container clearfix\">\n<div class=\"app-detail\">\n<div class=\"app-head "
            "clearfix\"><img src=\"" +
            icon + "\" width=\"64\" height=\"64\" alt=\"" + name + "\" /><h2>" + name + "</h2><p>开发者：" +
            escapeHtml(app.developer) + "</p></div>\n";
    if (isMovieApp(app)) {
        body += "<div class=\"app-stage\"><embed src=\"" + movieUrl +
                "\" type=\"application/x-shockwave-flash\" width=\"550\" height=\"400\" /></div>\n";
    } else {
        body += "<div class=\"app-stage\"><iframe id=\"app_frame\" src=\"" + s + "/appweb/frame?id=" + id +
                "\" width=\"760\" height=\"560\" frameborder=\"0\" scrolling=\"no\"></iframe></div>\n";
    }
    body += "<div class=\"app-intro\"><h3>应用介绍</h3><p>" + escapeHtml(app.description) +
            "</p><h3>开发者介绍</h3><p>" + escapeHtml(app.developerIntroduction) +
            "</p></div>\n</div>\n</div>";
    return framedPage(catalog_.categories(), {site, app.name, app.cid, {}}, body);
}

std::optional<std::string> AppPages::frame(std::string_view site, std::string_view id) const {
    const auto app = find(id);
    if (!app || isMovieApp(*app)) return std::nullopt;
    return page(escapeHtml(app->name),
                "<style>html, body { margin: 0; height: 100%; overflow: hidden; } iframe { display: block; "
                "border: 0; "
                "width: 100%; height: 100%; }</style>\n",
                "<iframe name=\"iframe_canvas\" src=\"" + std::string(site) + "/appweb/canvas?id=" +
                    idText(*app) + "\" frameborder=\"0\" scrolling=\"no\"></iframe>\n");
}

std::optional<std::string> AppPages::canvas(std::string_view id) const {
    const auto app = find(id);
    if (!app || isMovieApp(*app)) return std::nullopt;
    const std::string_view name = canvasName(*app);
    for (const auto& [file, html] : embedded::canvasApps)
        if (file == name)
            return page(escapeHtml(app->name), kCanvasStyle,
                        "<h1>" + escapeHtml(app->name) + "</h1>\n" + std::string(html));
    return std::nullopt;
}

std::optional<std::string> AppPages::movie(std::string_view file) {
    for (const auto& [name, bytes] : embedded::storeGames)
        if (name == file) return std::string(bytes);
    return std::nullopt;
}

} // namespace appstore
