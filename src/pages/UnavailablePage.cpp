#include "pages/UnavailablePage.h"

#include <cctype>

std::string UnavailablePage(std::string_view backColor) {
    std::string colour;
    for (char c : backColor)
        if (std::isalnum(static_cast<unsigned char>(c)) || c == '#') colour += c;
    if (colour.empty()) colour = "#FFFFFF";
    return "<!doctype html><html><head><meta charset=\"utf-8\"></head><body bgcolor=\"" + colour +
           "\"><p "
           "style=\"margin:40px;font-size:14px;color:#666\">页面暂时无法打开，请稍后再试。</p></body></html>";
}
