#pragma once
// The pagination block under a category list: previous and next links and a window of at most
// seven numbered page links around the current page. Links are absolute, with "&" written as
// "&amp;", and each "href" is the link's last attribute.

#include <string>
#include <string_view>

namespace appstore {

class Pagination {
  public:
    static constexpr int kWindow = 7;

    // current is clamped to 1..pageCount; pageCount is at least 1.
    Pagination(int current, int pageCount);

    int current() const { return current_; }
    int pageCount() const { return pageCount_; }
    int firstShown() const { return first_; }
    int lastShown() const { return last_; }

    // The block for pages whose address is pageAddress followed by "&amp;page=" and the number.
    std::string html(std::string_view pageAddress) const;

  private:
    int current_;
    int pageCount_;
    int first_;
    int last_;
};

} // namespace appstore
