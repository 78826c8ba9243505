#pragma once
// The address that an app's entry page forwards to: the entry page holds no data of its own, only
// a script that assigns the top window's location, and that target is the app's detail page.

#include <string>
#include <string_view>

// Fetches the entry page (through FetchText, as "utf-8") and reads it with ParseRedirectTarget.
std::string ReadRedirectTarget(std::string_view entryAddress);

// The address between top.location.href = " (its first occurrence) and the next double quote.
// Empty when the assignment is missing or never closed, and when the address is not an http:// or
// https:// address: the caller fetches the target, and a store page must never make it read a
// local file.
std::string ParseRedirectTarget(std::string_view entryPage);
