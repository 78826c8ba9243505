#include "StorePages.h"

#include "Pagination.h"
#include "StoreHtml.h"

#include <array>

namespace appstore {

namespace {

constexpr std::array kHotWords = {"游戏", "小说", "音乐", "天气", "电影", "漫画", "翻译", "象棋"};

std::string appBox(std::string_view title, const std::vector<StoreApp>& apps, std::string_view site) {
    return "<div class=\"index-box\">\n<div class=\"box-title\"><h3>" + std::string(title) +
           "</h3></div>\n<ul class=\"app-list clearfix\">\n" + appListItems(apps, site, LinkStyle::Absolute) +
           "</ul>\n</div>\n";
}

std::string sideBar(const StoreCategory& top, const std::vector<StoreCategory>& leaves, int leafCid) {
    const std::string cid = cidText(top.cid);
    std::string html =
        "<div class=\"side-bar\">\n<h3>" + escapeHtml(top.name) + "</h3>\n<ul class=\"leaf-list\">\n";
    html += std::string("<li") + (leafCid == 0 ? " class=\"on\"" : "") + "><a href=\"/appweb/c?cid=" + cid +
            "\">全部</a></li>\n";
    for (const auto& leaf : leaves) {
        html += std::string("<li") + (leafCid == leaf.leafCid ? " class=\"on\"" : "") +
                "><a href=\"/appweb/c?cid=" + std::to_string(top.cid) +
                "&amp;leaf_cid=" + std::to_string(leaf.leafCid) + "\">" + escapeHtml(leaf.name) +
                "</a></li>\n";
    }
    return html + "</ul>\n</div>\n";
}

} // namespace

std::string StorePages::home(std::string_view site) const {
    std::string body = "<div class=\"container index clearfix\">\n<div class=\"container-coloum-1\">\n";
    body += "<div class=\"index-banner\"><h2>发现好玩的网页应用</h2><p>共收录 " +
            std::to_string(catalog_.appCount()) + " 款应用，无需下载安装，打开即用。</p></div>\n";
    body += appBox("热门应用", catalog_.popularApps(kAppsPerPage), site);
    body += appBox("最新上架", catalog_.newestApps(kAppsPerPage), site);
    body += "<div class=\"index-box hot-words\">\n<div class=\"box-title\"><h3>大家都在搜</h3></div>\n<p>";
    for (const char* word : kHotWords)
        body += "<a href=\"" + std::string(site) + "/appweb/search?w=" + encodeQueryValue(word) + "\">" +
                word + "</a> ";
    body += "</p>\n</div>\n</div>\n<div class=\"container-coloum-2 clearfix index-bottom\">\n";
    for (const auto& top : catalog_.categories()) {
        if (top.leafCid != 0) continue;
        body += "<div class=\"category-box\"><h3><a href=\"/appweb/c?cid=" + cidText(top.cid) + "\">" +
                escapeHtml(top.name) + "</a></h3><p>";
        for (const auto& leaf : catalog_.leaves(top.cid))
            body += "<a href=\"/appweb/c?cid=" + std::to_string(top.cid) +
                    "&amp;leaf_cid=" + std::to_string(leaf.leafCid) + "\">" + escapeHtml(leaf.name) + "</a> ";
        body += "</p></div>\n";
    }
    body += "</div>\n</div>";
    return framedPage(catalog_.categories(), {site, "首页", 0, {}}, body);
}

std::optional<std::string> StorePages::category(std::string_view site, std::string_view cid,
                                                std::string_view leafCid, std::string_view page) const {
    const auto cidNumber = cid == "games" ? std::optional<int>(1) : wholeNumber(cid);
    const auto leafNumber = leafCid.empty() ? std::optional<int>(0) : wholeNumber(leafCid);
    if (!cidNumber || !leafNumber) return std::nullopt;
    const auto top = catalog_.category(*cidNumber, 0);
    const auto shown = catalog_.category(*cidNumber, *leafNumber);
    if (!top || !shown) return std::nullopt;

    const int total = catalog_.countApps(shown->cid, shown->leafCid);
    const Pagination pages(wholeNumber(page).value_or(1), (total + kAppsPerPage - 1) / kAppsPerPage);
    const auto apps =
        catalog_.listApps(shown->cid, shown->leafCid, (pages.current() - 1) * kAppsPerPage, kAppsPerPage);

    std::string address = std::string(site) + "/appweb/c?cid=" + std::string(cid);
    if (shown->leafCid != 0) address += "&amp;leaf_cid=" + std::to_string(shown->leafCid);

    std::string body =
        "<div class=\"container clearfix\">\n" + sideBar(*top, catalog_.leaves(top->cid), shown->leafCid);
    body += "<div class=\"main-content\">\n<div class=\"crumb\"><a href=\"/\">应用商店首页</a> &gt; <a "
            "href=\"/appweb/c?cid=" +
            cidText(top->cid) + "\">" + escapeHtml(top->name) + "</a>";
    if (shown->leafCid != 0) body += " &gt; <span>" + escapeHtml(shown->name) + "</span>";
    body += "<em>共 " + std::to_string(total) + " 款应用</em></div>\n";
    body += "<div class=\"category-all-app-list\">\n<ul class=\"app-list clearfix\">\n" +
            appListItems(apps, site, LinkStyle::Absolute) + "</ul>\n</div>\n";
    // A category that fits on one page has no pagination block.
    if (pages.pageCount() > 1) body += pages.html(address);
    body += "</div>\n</div>";
    const std::string title = shown->leafCid == 0 ? shown->name : shown->name + " - " + top->name;
    return framedPage(catalog_.categories(), {site, title, top->cid, {}}, body);
}

std::string StorePages::search(std::string_view site, std::string_view words) const {
    const auto apps = catalog_.search(words, kSearchLimit);
    const std::string shownWords = escapeHtml(words);
    std::string body =
        "<div class=\"container clearfix\">\n<div class=\"content clearfix\">\n<ul class=\"crumb\">"
        "<li>返回<a href=\"/\">应用商店首页</a></li><li class=\"result-count\">";
    if (apps.empty()) {
        body += "搜索“" + shownWords + "”</li></ul>\n<p class=\"no-result\">没有找到与“" + shownWords +
                "”相关的应用，换个关键词试试吧。</p>\n";
    } else {
        body += "搜索“" + shownWords + "”，找到 " + std::to_string(apps.size()) + " 款应用</li></ul>\n";
        body += "<ul class=\"app-list search-list clearfix\">\n" +
                appListItems(apps, site, LinkStyle::SearchResult) + "</ul>\n";
    }
    body += "</div>\n<div id=\"PopularRecommend\" class=\"popular-recommend\">\n<h3>热门推荐</h3>\n<ol>\n";
    for (const auto& app : catalog_.popularApps(6))
        body += "<li><a href=\"/appweb/app?id=" + std::to_string(app.id) + "\" target=\"_blank\">" +
                escapeHtml(app.name) + "</a></li>\n";
    body += "</ol>\n</div>\n</div>";
    return framedPage(catalog_.categories(), {site, "搜索", 0, words}, body);
}

std::string StorePages::updatePage(std::string_view site, const std::optional<std::string>& version,
                                   const std::optional<std::string>& signature) const {
    const auto release = catalog_.release();
    std::string page = "[Main]\r\nVersion = " + version.value_or(release.version) +
                       "\r\nftp = " + std::string(site) + "/box/download/" + release.file +
                       "\r\nDate = " + release.date + "\r\nInfo = " + release.info + "\r\n";
    if (signature) page += "Signature = " + *signature + "\r\n";
    return page;
}

std::string StorePages::statistics(long long requestsServed) const {
    return "<!DOCTYPE html>\n<html>\n<head><meta charset=\"utf-8\" /><title>统计</title></head>\n"
           "<body><p>应用 " +
           std::to_string(catalog_.appCount()) + " 款，分类 " + std::to_string(catalog_.categories().size()) +
           " 个，已服务 " + std::to_string(requestsServed) + " 次请求。</p></body>\n</html>\n";
}

std::optional<std::string> StorePages::icon(std::string_view id) const {
    const auto number = wholeNumber(id);
    const auto app = number ? catalog_.app(*number) : std::nullopt;
    if (!app) return std::nullopt;
    // The first character of the name (one UTF-8 sequence) on a rounded square whose hue follows
    // the app's id.
    std::size_t length = 1;
    while (length < app->name.size() && (static_cast<unsigned char>(app->name[length]) & 0xC0) == 0x80)
        ++length;
    const std::string hue = std::to_string((app->id * 47) % 360);
    return "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"64\" height=\"64\" viewBox=\"0 0 64 64\">"
           "<defs><linearGradient id=\"g\" x1=\"0\" y1=\"0\" x2=\"0\" y2=\"1\">"
           "<stop offset=\"0\" stop-color=\"hsl(" +
           hue +
           ",70%,62%)\"/>"
           "<stop offset=\"1\" stop-color=\"hsl(" +
           hue +
           ",72%,44%)\"/></linearGradient></defs>"
           "<rect x=\"2\" y=\"2\" width=\"60\" height=\"60\" rx=\"13\" fill=\"url(#g)\"/>"
           "<rect x=\"2\" y=\"2\" width=\"60\" height=\"30\" rx=\"13\" fill=\"#fff\" opacity=\"0.12\"/>"
           "<text x=\"32\" y=\"43\" font-size=\"28\" text-anchor=\"middle\" fill=\"#fff\" "
           "font-family=\"WenQuanYi Zen Hei, Microsoft YaHei, SimHei, sans-serif\">" +
           escapeHtml(app->name.substr(0, length)) + "</text></svg>";
}

std::string StorePages::notFound(std::string_view path) {
    return "<!DOCTYPE html>\n<html>\n<head><meta charset=\"utf-8\" /><title>404 - 应用商店</title></head>\n"
           "<body><h1>404</h1><p>页面不存在：" +
           escapeHtml(path) + "</p><p><a href=\"/\">返回应用商店首页</a></p></body>\n</html>\n";
}

} // namespace appstore
