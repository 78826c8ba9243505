// signupdate: the maker's signing tool for updates.
//
//   signupdate keygen PRIVATE_KEY_FILE PUBLIC_KEY_FILE
//       makes a new Ed25519 key pair. The private key file is created with mode 0600 and never
//       overwritten; it may not lie inside a git checkout, so it cannot be committed by mistake.
//       The public key file is what a build of Brindle takes (-DBRINDLE_UPDATE_PUBLIC_KEY=FILE).
//   signupdate sign PRIVATE_KEY_FILE FILE --version V --ftp URL [--date D] [--info TEXT]
//       signs FILE for version V and prints the update page (/box/update.html) that announces it.
//       The signature holds for V only: a page announcing FILE as any other version is refused.

#include "UpdateSigner.h"

#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <optional>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

int usage() {
    std::cerr
        << "usage: signupdate keygen PRIVATE_KEY_FILE PUBLIC_KEY_FILE\n"
           "       signupdate sign PRIVATE_KEY_FILE FILE --version V --ftp URL [--date D] [--info TEXT]\n";
    return 2;
}

int fail(const std::string& message) {
    std::cerr << "signupdate: " << message << "\n";
    return 1;
}

std::optional<std::string> readFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return std::nullopt;
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return std::nullopt;
    return bytes;
}

// The checkout that holds path, when one of its folders has a ".git" entry.
std::optional<fs::path> enclosingCheckout(const fs::path& path) {
    std::error_code ec;
    for (auto folder = fs::weakly_canonical(fs::absolute(path), ec).parent_path(); !folder.empty();
         folder = folder.parent_path()) {
        if (fs::exists(folder / ".git", ec)) return folder;
        if (folder == folder.root_path()) break;
    }
    return std::nullopt;
}

// Whether the program reads version back from the update page exactly as given: its INI reader
// removes blanks and one pair of quotes around a value and keeps at most 99 characters.
bool readsBackUnchanged(const std::string& version) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    std::size_t characters = 0;
    for (const char c : version)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++characters;
    const bool quoted = version.size() >= 2 && (version.front() == '"' || version.front() == '\'') &&
                        version.back() == version.front();
    return !version.empty() && !blank(version.front()) && !blank(version.back()) && !quoted &&
           characters <= 99;
}

// Creates file with bytes and the given mode; an existing file is left alone and gives false.
bool createFile(const fs::path& file, const std::string& bytes, mode_t mode) {
    const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd < 0) return false;
    bool ok = ::write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
    ok = ::close(fd) == 0 && ok;
    if (!ok) ::unlink(file.c_str());
    return ok;
}

int keygen(const fs::path& privateFile, const fs::path& publicFile) {
    if (auto checkout = enclosingCheckout(privateFile))
        return fail("the private key may not be written inside the checkout " + checkout->string());
    const auto pair = UpdateSigner::generateKeyPair();
    if (pair.privatePem.empty()) return fail("could not make a key pair");
    if (!createFile(privateFile, pair.privatePem, 0600))
        return fail("cannot create " + privateFile.string() + " (it must not exist yet)");
    std::ofstream out(publicFile, std::ios::binary | std::ios::trunc);
    if (!(out << pair.publicPem) || !out.flush()) return fail("cannot write " + publicFile.string());
    return 0;
}

int sign(const fs::path& privateFile, const fs::path& file,
         const std::map<std::string, std::string>& fields) {
    for (const char* required : {"--version", "--ftp"})
        if (!fields.count(required)) return usage();
    for (const auto& [name, value] : fields)
        if (value.find_first_of("\r\n") != std::string::npos)
            return fail(name + " may not hold a line break");
    if (!readsBackUnchanged(fields.at("--version")))
        return fail("--version must be 1 to 99 characters without blanks or quotes around it");
    const auto keyText = readFile(privateFile);
    if (!keyText) return fail("cannot read " + privateFile.string());
    const UpdateSigner signer(*keyText);
    if (!signer.hasKey()) return fail(privateFile.string() + " holds no Ed25519 private key");
    const auto bytes = readFile(file);
    if (!bytes) return fail("cannot read " + file.string());
    const auto value = [&](const char* name) {
        const auto it = fields.find(name);
        return it == fields.end() ? std::string() : it->second;
    };
    std::cout << UpdateSigner::updatePage(value("--version"), value("--ftp"), value("--date"),
                                          value("--info"), signer.sign(value("--version"), *bytes));
    return std::cout.flush() ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 3 && args[0] == "keygen") return keygen(args[1], args[2]);
    if (args.size() >= 3 && args[0] == "sign" && args.size() % 2 == 1) {
        std::map<std::string, std::string> fields;
        for (std::size_t i = 3; i + 1 < args.size(); i += 2) {
            if (args[i] != "--version" && args[i] != "--ftp" && args[i] != "--date" && args[i] != "--info")
                return usage();
            fields[args[i]] = args[i + 1];
        }
        return sign(args[1], args[2], fields);
    }
    return usage();
}
