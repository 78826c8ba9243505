#include "pages/PageWrapper.h"

#include "base/AtomicFile.h"
#include "pages/Catalogue.h"

namespace pagewrapper {

std::string header(std::string_view staticHost, std::string_view backColor) {
    std::string text = "<!doctype html> <html><head><link rel=\"stylesheet\" href=\"";
    text += staticHost;
    text += kStyleSheetPath;
    text += "\" type=\"text/css\" media=\"screen\" /></head><body bgcolor=";
    text += backColor;
    text += ">";
    return text;
}

std::string wrap(std::string_view staticHost, std::string_view backColor, std::string_view body) {
    std::string page = header(staticHost, backColor);
    page += body;
    page += kFooter;
    page += kLineEnd;
    return page;
}

bool writePageFile(const PageSite& site, std::string_view key, std::string_view backColor,
                   std::string_view body) {
    return base::writeFileAtomicIfChanged(site.htmlDir / Catalogue::pageFileName(key),
                                          wrap(site.staticHost, backColor, body));
}

} // namespace pagewrapper
