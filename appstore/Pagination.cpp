#include "Pagination.h"

#include <algorithm>

namespace appstore {

Pagination::Pagination(int current, int pageCount)
    : current_(std::clamp(current, 1, std::max(pageCount, 1))), pageCount_(std::max(pageCount, 1)) {
    first_ = std::max(1, current_ - kWindow / 2);
    last_ = std::min(pageCount_, first_ + kWindow - 1);
    first_ = std::max(1, last_ - kWindow + 1);
}

std::string Pagination::html(std::string_view pageAddress) const {
    const auto address = [&](int page) {
        return std::string(pageAddress) + "&amp;page=" + std::to_string(page);
    };
    std::string block = "<div class=\"pagination clearfix\">\n";
    if (current_ > 1)
        block += "<a class=\"prev\" href=\"" + address(current_ - 1) + "\">&lt; 上一页</a>\n";
    else
        block += "<span class=\"prev disabled\">&lt; 上一页</span>\n";
    for (int page = first_; page <= last_; ++page) {
        block += std::string("<a class=\"item") + (page == current_ ? " current" : "") + "\" href=\"" +
                 address(page) + "\">" + std::to_string(page) + "</a>\n";
    }
    if (current_ < pageCount_)
        block += "<a class=\"next\" href=\"" + address(current_ + 1) + "\">下一页 &gt;</a>\n";
    else
        block += "<span class=\"next disabled\">下一页 &gt;</span>\n";
    block += "<span class=\"total\">共 " + std::to_string(pageCount_) + " 页</span>\n</div>\n";
    return block;
}

} // namespace appstore
