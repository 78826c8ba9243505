#pragma once
// The maker's update page: INI text, section Main, keys Version, ftp, Date, Info and Signature (the
// base64 Ed25519 signature of the file that ftp names).

#include <filesystem>
#include <string>

struct UpdatePage {
    std::string Version;
    std::string ftp;
    std::string Date;
    std::string Info;
    std::string Signature;

    // Reads the keys with the buffers the page was designed for (Version and Date 100, ftp and Info
    // 1000 characters; Signature 100, room for the 88 characters of a base64 Ed25519 signature). A
    // missing file or key gives empty texts.
    static UpdatePage read(const std::filesystem::path& file);
};
