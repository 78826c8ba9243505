#pragma once
// Reads the store's pagination block kept in a paging file: the previous and next page addresses
// and up to eight numbered page links.

#include <array>
#include <filesystem>
#include <string>
#include <string_view>

struct PageLink {
    std::string Url;     // address with every "amp;" removed; empty when the link has no usable address
    std::string Caption; // text between the tag's ">" and "</a>", unchanged
    bool IsCurrent = false;
};

struct PageLinkTable {
    std::array<PageLink, 8> PageLinks;
    int PageLinkCount = 0; // entries filled by the last read; later entries keep older values
};

struct PagingAddresses {
    std::string next, previous;
};

// Reads the paging file (through FetchText, as "utf-8") and parses it with ParsePageLinks.
PagingAddresses ReadPageLinks(const std::filesystem::path& pagingFile, PageLinkTable& table);

// The parsing alone. Links past the eighth are ignored; a numbered link without a closing "</a>"
// ends the reading (no later link can be complete either); a link without "href=" followed by a
// quoted address gets an empty Url but keeps its caption and current mark.
PagingAddresses ParsePageLinks(std::string_view text, PageLinkTable& table);
