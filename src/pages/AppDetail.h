#pragma once
// The details of one app, read from the script data of the store's detail page, and the clean-up
// of the store's markup in its description and developer texts.
//
// A value of the page script is found by plain, case-sensitive, first-occurrence search for its
// marker, each searched in the whole page. One character after the marker (the opening quote) is
// skipped; the value ends before the last character preceding the first "," that follows (the
// closing quote), except the description, which keeps everything up to and including that comma:
//
//   app_name:"NAME",  flash : "MOVIE.swf",  description : "TEXT",  app_logo : "LOGO",
//   app_icon : "ICON",  developer_name : "DEV",  developer_email : "MAIL",
//   developer_introduction : "ABOUT",
//
// A movie candidate (after "flash : ", up to and including the first ".swf") of at least 10
// characters makes a movie app. Otherwise the page's first "<iframe " gives, after one more
// character, a src="..." address: the frame page. That page is fetched and, when it holds
// <iframe name="iframe_canvas" src="...">, the canvas address replaces the frame address.
//
// Pages that lack a marker or the text after it:
// - A value whose marker is missing, that has no "," after it, or whose cut would be shorter than
//   nothing (the "," right after the skipped character) stays empty. The description likewise
//   stays empty before cleaning, so it comes out as the five spaces that CleanText appends.
// - No "flash : " or no ".swf" after it: the frame case.
// - A frame address needs "<iframe ", then "src=", then a closing double quote; missing any of
//   them leaves ContentUrl empty and nothing more is fetched. A canvas address likewise needs
//   "src=" and its closing quote after the canvas marker; without them the frame address stays.
// - Addresses read out of a store page are fetched or taken only when they are http:// or
//   https:// addresses: a page can never make the reader open a local file, and the frame or
//   canvas address handed to a viewer is always a web address. Otherwise ContentUrl stays empty
//   (frame) or the frame address stays (canvas).
// - The movie address is taken as it stands; MovieFile is its text after the last "/" (all of it
//   when there is none). Whoever saves the movie checks that name before using it as a file name.

#include <functional>
#include <string>
#include <string_view>

struct AppDetail {
    std::string Name;
    std::string ContentUrl; // the movie's address (".swf"), or for a page app its frame page
    std::string Icon;
    std::string Logo;
    std::string Description; // cleaned
    std::string Developer;   // the developer block, cleaned
    std::string MovieFile;   // the movie address after its last "/"; empty for a page app
};

// Fetches the detail page (through FetchText, as "utf-8") and reads it with ParseAppDetail, the
// frame page being fetched the same way. Never throws; a failed fetch gives the record of an empty
// page: empty texts, a Description of five spaces and a Developer block of labels only.
AppDetail ReadAppDetail(std::string_view detailAddress);

// The reading alone: page is the detail page's text; fetchPage reads the frame page of a page app.
AppDetail ParseAppDetail(std::string_view page,
                         const std::function<std::string(std::string_view)>& fetchPage);

// The store's markup turned into plain text with CR LF line breaks, replacing every occurrence, in
// this order: "&#93;", "&#91;", "&amp;nbsp;" removed; "&lt;br" and the written-out escape "\r\n"
// (backslash, r, backslash, n) become line breaks; "&gt;" removed; "</h2>" becomes a line break
// and then five spaces are appended to the whole text (whether or not it held "</h2>"); "<br />", "<br/>",
// "<BR>", "<br>" become line breaks; "&nbsp;" becomes a space. Pure text work: it runs no pending events,
// takes microseconds and may run on any thread.
std::string CleanText(std::string text);
