#include "StoreHtml.h"

#include <charconv>
#include <cstdio>

namespace appstore {

namespace {

std::string usersText(std::int64_t users) {
    char text[48];
    if (users >= 10000)
        std::snprintf(text, sizeof text, "%.1f万人在用", static_cast<double>(users) / 10000.0);
    else
        std::snprintf(text, sizeof text, "%lld人在用", static_cast<long long>(users));
    return text;
}

std::string ratingStars(double rating) {
    char text[160];
    std::snprintf(text, sizeof text,
                  "<span class=\"app-stars\" title=\"%.1f 分\"><span style=\"width:%d%%\"></span></span>",
                  rating, static_cast<int>(rating * 20.0 + 0.5));
    return text;
}

std::string appItem(const StoreApp& app, std::string_view site, LinkStyle style) {
    const std::string id = std::to_string(app.id);
    const std::string link =
        (style == LinkStyle::Absolute ? std::string(site) : std::string()) + "/appweb/app?id=" + id;
    const std::string name = escapeHtml(app.name);
    std::string html = "<li class=\"app-item\">\n";
    html += "<a class=\"app-icon\" href=\"" + link + "\" target=\"_blank\"><img src=\"" + std::string(site) +
            "/static/icons/app-" + id + ".svg\" width=\"64\" height=\"64\" alt=\"" + name + "\" /></a>\n";
    html += "<div class=\"app-info\">\n<h4 class=\"app-name\"><a href=\"" + link + "\" target=\"_blank\">" +
            name + "</a></h4>\n";
    if (style == LinkStyle::SearchResult)
        html += "<span class=\"developer_name\">开发者：<a href=\"/appweb/search?w=" +
                encodeQueryValue(app.developer) + "\">" + escapeHtml(app.developer) + "</a></span>\n";
    else
        html += "<span class=\"app-developer\">" + escapeHtml(app.developer) + "</span>\n";
    html += "<p class=\"app-meta\">" + ratingStars(app.rating) + "<span class=\"app-users\">" +
            usersText(app.users) + "</span></p>\n";
    html += "<p class=\"app-desc\">" + escapeHtml(app.description) + "</p>\n</div>\n";
    html += "<a class=\"app-open\" href=\"" + link + "\" target=\"_blank\">" +
            (app.kind == "flash" ? "开始游戏" : "打开应用") + "</a>\n</li>\n";
    return html;
}

} // namespace

std::string escapeHtml(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&#39;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string encodeQueryValue(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : text) {
        const bool unreserved = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                                c == '-' || c == '_' || c == '.' || c == '~';
        if (unreserved) {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        }
    }
    return out;
}

std::optional<int> wholeNumber(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
    return value;
}

std::string cidText(int cid) {
    return cid == 1 ? "games" : std::to_string(cid);
}

std::string framedPage(const std::vector<StoreCategory>& categories, const PageFrame& frame,
                       std::string_view body) {
    std::string html = "<!DOCTYPE html>\n<html lang=\"zh-CN\">\n<head>\n<meta charset=\"utf-8\" />\n<title>";
    html += escapeHtml(frame.title);
    html += " - 应用商店</title>\n<link rel=\"stylesheet\" href=\"" + std::string(frame.site) +
            "/static/07051645/appweb/styles/main.css\" type=\"text/css\" media=\"screen\" />\n</head>\n"
            "<body class=\"store\">\n<div class=\"site-header\">\n<div class=\"wrap clearfix\">\n"
            "<a class=\"site-logo\" href=\"/\"><span class=\"logo-mark\">应</span>应用商店</a>\n"
            "<form class=\"site-search\" action=\"/appweb/search\" method=\"get\">"
            "<input type=\"text\" name=\"w\" value=\"" +
            escapeHtml(frame.searchWords) +
            "\" placeholder=\"搜索应用、开发者\" /><button type=\"submit\">搜索</button></form>\n</div>\n"
            "<ul class=\"site-nav wrap clearfix\">\n";
    html +=
        std::string("<li") + (frame.activeCid == 0 ? " class=\"on\"" : "") + "><a href=\"/\">首页</a></li>\n";
    for (const auto& c : categories) {
        if (c.leafCid != 0) continue;
        html += std::string("<li") + (frame.activeCid == c.cid ? " class=\"on\"" : "") +
                "><a href=\"/appweb/c?cid=" + cidText(c.cid) + "\">" + escapeHtml(c.name) + "</a></li>\n";
    }
    html += "</ul>\n</div>\n";
    html += body;
    html += "\n<!--HTML END-->\n<div class=\"site-footer\">\n<p><a href=\"/\">关于我们</a> | <a "
            "href=\"/\">开发者中心</a> | "
            "<a href=\"/\">帮助</a> | <a href=\"/\">联系我们</a></p>\n"
            "<p>Copyright &copy; 2011 应用商店 版权所有</p>\n</div>\n</body>\n</html>\n";
    return html;
}

std::string appListItems(const std::vector<StoreApp>& apps, std::string_view site, LinkStyle style) {
    std::string html;
    for (const auto& app : apps)
        html += appItem(app, site, style);
    return html;
}

} // namespace appstore
