#include "library/SaveArchive.h"

#include "base/AtomicFile.h"
#include "pages/FetchText.h"
#include "viewer/FlashSaves.h"
#include "viewer/MoviePlace.h"
#include "viewer/PlayerFiles.h"
#include "viewer/SolFile.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <set>
#include <sys/stat.h>
#include <unistd.h>
#include <zip.h>

namespace fs = std::filesystem;

namespace library {

namespace {

using Status = SaveArchive::Status;
using Result = SaveArchive::Result;

constexpr std::size_t kMaxName = 255;
// Where the player sets aside the saves of a movie folder it could not read.
constexpr const char* kRejectedFolder = "rejected";
// A zip without entries: its end record alone (libzip writes no file for an empty archive).
constexpr char kEmptyZip[22] = {'P', 'K', 5, 6};

Result refused(std::string message) {
    return {Status::Refused, std::move(message), {}, 0};
}
Result failed(std::string message) {
    return {Status::Failed, std::move(message), {}, 0};
}

// A name from a zip as it can be shown in a message: control characters made visible.
std::string shown(std::string_view name) {
    std::string out;
    for (const char c : name)
        out += static_cast<unsigned char>(c) < 0x20 || c == 0x7f ? '?' : c;
    return out;
}

// A movie folder in Saves/: a plain file name, and not hidden, as the staging folders are.
bool isMovieFolderName(std::string_view name) {
    return viewer::isPlainFileName(name) && name.size() <= kMaxName && !name.starts_with('.');
}

// Whether folder is where an earlier version kept the saves of the movie whose folder is now
// current: the movie's bare name, before each store folder's movies had folders of their own
// ("<site>~<name>", see MoviePlace).
bool isEarlierFolderOf(std::string_view folder, std::string_view current) {
    return folder.find('~') == std::string_view::npos &&
           current.ends_with("~" + viewer::MoviePlace::safeName(folder));
}

// The game named in messages for a movie folder.
std::string gameOf(const SaveArchive::RestoreOptions& options, const std::string& movie) {
    const std::string name = options.nameOf ? options.nameOf(movie) : std::string();
    return shown(name.empty() ? movie : name);
}

// An entry's name as UTF-8: as it is when it is valid UTF-8, else read as GB 18030.
std::string entryName(std::string_view raw) {
    if (DecodeBody(raw, "utf-8") == raw) return std::string(raw);
    return DecodeBody(raw, "gb18030");
}

bool isSave(std::string_view bytes) {
    return viewer::SolFile::check(bytes);
}

std::optional<std::string> readSmallFile(const fs::path& file) {
    std::error_code ec;
    const auto status = fs::symlink_status(file, ec);
    if (ec || !fs::is_regular_file(status) || fs::file_size(file, ec) > SaveArchive::MaxFileBytes || ec)
        return std::nullopt;
    std::ifstream in(file, std::ios::binary);
    std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad()) return std::nullopt;
    return bytes;
}

bool syncPath(const fs::path& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool ok = ::fsync(fd) == 0;
    return ::close(fd) == 0 && ok;
}

struct ZipCloser {
    void operator()(zip_t* archive) const { zip_discard(archive); }
};
using Zip = std::unique_ptr<zip_t, ZipCloser>;

// A save taken from a zip, checked, waiting to be written.
struct Save {
    std::string movie;
    std::string file;
    std::string bytes;
};

// An entry of a zip to be taken: where it goes and its declared size.
struct Planned {
    zip_int64_t index;
    std::string movie;
    std::string file;
    std::string shownName; // "压缩包里的“name”", for messages
    zip_uint64_t size;
};

std::string tooLarge(const std::string& shownName) {
    return shownName + "解压后太大（超过 " + std::to_string(SaveArchive::MaxFileBytes >> 20) +
           " MB），不是存档。";
}

// Checks every entry of the zip by its name, kind and declared size, before any is unpacked.
// The refusal, or empty with the entries to take in planned.
std::string plan(zip_t* archive, const SaveArchive::RestoreOptions& options, std::vector<Planned>& planned) {
    const zip_int64_t count = zip_get_num_entries(archive, 0);
    if (count < 0 || static_cast<zip_uint64_t>(count) > SaveArchive::MaxEntries)
        return "压缩包里的文件太多（超过 " + std::to_string(SaveArchive::MaxEntries) +
               " 个），不是存档备份。";
    std::set<std::string> seen;
    bool earlierLayout = false, currentLayout = false;
    // Each entry's actual size is held to its declared one (unpack), so the declared total bounds
    // what is unpacked.
    std::uint64_t declared = 0;
    for (zip_int64_t index = 0; index < count; ++index) {
        zip_stat_t stat;
        zip_stat_init(&stat);
        if (zip_stat_index(archive, index, ZIP_FL_ENC_RAW, &stat) != 0 || !(stat.valid & ZIP_STAT_NAME))
            return "压缩包已损坏，读不出它的文件。";
        const std::string name = entryName(stat.name);
        const std::string entry = "压缩包里的“" + shown(name) + "”";
        zip_uint8_t system = 0;
        zip_uint32_t attributes = 0;
        zip_file_get_external_attributes(archive, index, 0, &system, &attributes);
        const mode_t mode = system == ZIP_OPSYS_UNIX ? static_cast<mode_t>(attributes >> 16) : 0;
        const bool folder = name.ends_with('/');
        if ((mode & S_IFMT) != 0 && (mode & S_IFMT) != (folder ? S_IFDIR : S_IFREG))
            return entry + "是链接或特殊文件，不能恢复。";
        // "<movie>/<file>.sol", or the folder "<movie>/" (nothing to write).
        const auto slash = name.find('/');
        std::string movie = name.substr(0, slash);
        const std::string file = slash == std::string::npos ? "" : name.substr(slash + 1);
        if (slash == std::string::npos || !isMovieFolderName(movie) ||
            !(folder ? file.empty() : viewer::FlashSaves::nameOf(file).has_value()))
            return entry + "不是存档：只接受“游戏文件名/存档名.sol”这样的文件，名字与存档文件夹里的相同。";
        // A backup of an earlier version names the game's folder as it was then; its saves are the
        // game's, unless the zip holds the game's saves under its folder of now as well.
        const bool earlier = options.onlyMovie && isEarlierFolderOf(movie, *options.onlyMovie);
        if (options.onlyMovie && movie != *options.onlyMovie && !earlier)
            return entry + "是另一个游戏（" + gameOf(options, movie) + "）的存档，不是“" +
                   gameOf(options, *options.onlyMovie) + "”的。";
        if (folder) continue;
        (earlier ? earlierLayout : currentLayout) = true;
        if (earlierLayout && currentLayout)
            return "压缩包里既有旧版本为“" + gameOf(options, *options.onlyMovie) +
                   "”备份的存档，也有它现在的存档，无法确定该恢复哪一份。请只留下其中一份再恢复。";
        if (earlier) movie = *options.onlyMovie;
        if (!seen.insert(name).second) return entry + "出现了不止一次。";
        if ((stat.valid & ZIP_STAT_ENCRYPTION_METHOD) && stat.encryption_method != ZIP_EM_NONE)
            return entry + "有密码保护，不能恢复。";
        if (!(stat.valid & ZIP_STAT_SIZE) || stat.size > SaveArchive::MaxFileBytes) return tooLarge(entry);
        declared += stat.size;
        if (declared > SaveArchive::MaxTotalBytes)
            return "压缩包解压后太大（超过 " + std::to_string(SaveArchive::MaxTotalBytes >> 20) +
                   " MB），不是存档备份。";
        planned.push_back({index, movie, file, entry, stat.size});
    }
    return {};
}

// Unpacks a planned entry into bytes and checks it is a save of its declared size; the refusal or
// empty.
std::string unpack(zip_t* archive, const Planned& entry, std::string& bytes) {
    // The declared size is the zip's word only: at most one byte beyond it is unpacked.
    std::unique_ptr<zip_file_t, int (*)(zip_file_t*)> in(zip_fopen_index(archive, entry.index, 0),
                                                         zip_fclose);
    if (!in) return entry.shownName + "已损坏，读不出来。";
    bytes.assign(entry.size + 1, '\0');
    std::uint64_t got = 0;
    while (got < bytes.size()) {
        const auto n = zip_fread(in.get(), bytes.data() + got, bytes.size() - got);
        if (n < 0) return entry.shownName + "已损坏，读不出来。";
        if (n == 0) break;
        got += static_cast<std::uint64_t>(n);
    }
    if (got > entry.size) return tooLarge(entry.shownName);
    bytes.resize(got);
    if (got != entry.size || !isSave(bytes)) return entry.shownName + "已损坏，不是能读的存档。";
    return {};
}

// Every save in the zip, checked; or nothing with the refusal in result.
std::optional<std::vector<Save>> readSaves(zip_t* archive, const SaveArchive::RestoreOptions& options,
                                           Result& result) {
    std::vector<Planned> planned;
    std::string refusal = plan(archive, options, planned);
    std::vector<Save> saves;
    for (const auto& entry : planned) {
        if (!refusal.empty()) break;
        Save save{entry.movie, entry.file, {}};
        refusal = unpack(archive, entry, save.bytes);
        saves.push_back(std::move(save));
    }
    if (refusal.empty()) return saves;
    result = refused(std::move(refusal));
    return std::nullopt;
}

// Removes staging folders of restores whose process has ended.
void removeDeadStaging(const fs::path& savesFolder) {
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(savesFolder, ec)) {
        const pid_t writer = base::temporaryWriter(entry.path().filename().string());
        if (writer > 0 && writer != ::getpid() && ::kill(writer, 0) != 0 && errno == ESRCH)
            fs::remove_all(entry.path(), ec);
    }
}

// What became of an exchange of a staged folder with its target.
enum class Swap {
    Done,      // staged is at target, and what was at target (if anything) at staged
    Unchanged, // both as they were
    Broken     // the old target is neither at target nor at staged, but beside staged
};

// Puts staged in place of target in one step; the old target (if any) ends at staged. A file
// system without exchange gets three renames, between which the target is missing for a moment;
// when the last ones fail, the old target stays beside staged.
Swap swapIn(const fs::path& staged, const fs::path& target) {
    std::error_code ec;
    const bool exists = fs::exists(fs::symlink_status(target, ec));
    if (::renameat2(AT_FDCWD, staged.c_str(), AT_FDCWD, target.c_str(),
                    exists ? RENAME_EXCHANGE : RENAME_NOREPLACE) == 0)
        return Swap::Done;
    if (errno != EINVAL || !exists) return Swap::Unchanged;
    const fs::path aside = base::temporarySibling(staged);
    if (std::rename(target.c_str(), aside.c_str()) != 0) return Swap::Unchanged;
    if (std::rename(staged.c_str(), target.c_str()) != 0)
        return std::rename(aside.c_str(), target.c_str()) == 0 ? Swap::Unchanged : Swap::Broken;
    return std::rename(aside.c_str(), staged.c_str()) == 0 ? Swap::Done : Swap::Broken;
}

// Moves a staging folder that holds saves still wanted out of the way of later restores, which
// remove staging folders left behind: beside the saves folder, or in it under a hidden name that
// is neither a movie's nor a staging folder's. Where they are.
fs::path keptAside(const fs::path& staging, const fs::path& savesFolder) {
    const std::string name =
        "恢复前的存档-" + std::to_string(::time(nullptr)) + "-" + std::to_string(::getpid());
    for (const fs::path& kept : {savesFolder.parent_path() / name, savesFolder / ("." + name)})
        if (std::rename(staging.c_str(), kept.c_str()) == 0) return kept;
    return staging;
}

// The zip's saves, checked, with the movies they belong to; or nothing with the refusal or failure
// in result.
std::optional<std::vector<Save>> checkedSaves(const fs::path& zipFile,
                                              const SaveArchive::RestoreOptions& options, Result& result) {
    int error = 0;
    Zip archive(zip_open(zipFile.c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &error));
    if (!archive) {
        // A zip whose entries contradict each other (one name twice, overlapping entries) is read
        // well enough to be refused, like any zip whose content is not taken.
        const std::string why = "无法打开压缩包“" + zipFile.string() + "”：";
        result = error == ZIP_ER_INCONS || error == ZIP_ER_EXISTS
                     ? refused(why + "它的文件互相矛盾（例如同一个文件出现了两次），不是存档备份。")
                     : failed(why + "它不存在、读不了，或不是 zip 文件。");
        return std::nullopt;
    }
    auto saves = readSaves(archive.get(), options, result);
    if (!saves) return std::nullopt;
    if (saves->empty()) {
        result = refused("压缩包里没有存档。");
        return std::nullopt;
    }
    std::set<std::string> movies;
    for (const auto& save : *saves)
        movies.insert(save.movie);
    for (const auto& movie : movies)
        if (options.inUse && options.inUse(movie)) {
            result = refused("“" + gameOf(options, movie) + "”正在运行，请先关闭它的窗口再恢复存档。");
            return std::nullopt;
        }
    result = {Status::Done, {}, {movies.begin(), movies.end()}, saves->size()};
    return saves;
}

} // namespace

Result SaveArchive::check(const fs::path& zipFile, const RestoreOptions& options) {
    Result result;
    checkedSaves(zipFile, options, result);
    return result;
}

void SaveArchive::removeLeftovers(const fs::path& savesFolder) {
    removeDeadStaging(savesFolder);
}

Result SaveArchive::restore(const fs::path& zipFile, const fs::path& savesFolder,
                            const RestoreOptions& options) {
    Result result;
    const auto saves = checkedSaves(zipFile, options, result);
    if (!saves) return result;
    std::map<std::string, std::size_t> movies;
    for (const auto& save : *saves)
        ++movies[save.movie];

    std::error_code ec;
    fs::create_directories(savesFolder, ec);
    removeDeadStaging(savesFolder);
    const fs::path staging = base::temporarySibling(savesFolder / "restore");
    const std::string cannotWrite = "无法写入存档文件夹“" + savesFolder.string() + "”，存档没有改动。";
    if (!fs::create_directory(staging, ec)) return failed(cannotWrite);
    bool written = true;
    for (const auto& [movie, files] : movies)
        written = written && fs::create_directory(staging / movie, ec);
    for (const auto& save : *saves)
        written = written && base::writeFileAtomic(staging / save.movie / save.file, save.bytes);
    for (const auto& [movie, files] : movies)
        written = written && syncPath(staging / movie);

    const auto exchange = [&](const fs::path& from, const fs::path& to) {
        if (options.exchange) return options.exchange(from, to) ? Swap::Done : Swap::Unchanged;
        return swapIn(from, to);
    };
    std::vector<std::string> swapped;
    // Movies whose old saves are no longer in their folder but kept in the staging folder.
    std::vector<std::string> notBack;
    for (const auto& [movie, files] : movies) {
        const Swap swap = written ? exchange(staging / movie, savesFolder / movie) : Swap::Unchanged;
        if (swap == Swap::Broken) notBack.push_back(movie);
        if (swap != Swap::Done) {
            written = false;
            break;
        }
        swapped.push_back(movie);
    }
    if (!written) // back as before, newest first
        for (auto it = swapped.rbegin(); it != swapped.rend(); ++it)
            if (exchange(savesFolder / *it, staging / *it) != Swap::Done) notBack.push_back(*it);
    // The saves a movie had set aside as unreadable stay with it.
    std::size_t rejectedLost = 0;
    if (written)
        for (const auto& movie : swapped) {
            const fs::path rejected = staging / movie / kRejectedFolder;
            if (fs::exists(fs::symlink_status(rejected, ec)) &&
                std::rename(rejected.c_str(), (savesFolder / movie / kRejectedFolder).c_str()) != 0)
                ++rejectedLost;
        }
    syncPath(savesFolder);
    // Old saves that could not be put back stay, out of the way of the removal of an interrupted
    // restore's staging folder at a later start.
    const fs::path kept = notBack.empty() && rejectedLost == 0 ? fs::path() : keptAside(staging, savesFolder);
    if (!notBack.empty()) {
        std::string games;
        for (const auto& movie : notBack)
            games += (games.empty() ? "“" : "、“") + gameOf(options, movie) + "”";
        return failed("恢复中途失败，" + games +
                      "的存档可能已被部分改动：没能把原来的存档换回去。原来的存档保存在“" + kept.string() +
                      "”里，请把它们复制回存档文件夹。");
    }
    if (kept.empty()) fs::remove_all(staging, ec);
    if (!written) return failed(cannotWrite);

    result = {Status::Done, {}, {}, saves->size()};
    for (const auto& [movie, files] : movies)
        result.movies.push_back(movie);
    result.message = (options.onlyMovie ? "已恢复“" + gameOf(options, *options.onlyMovie) + "”的 "
                                        : "已恢复 " + std::to_string(movies.size()) + " 个游戏的 ") +
                     std::to_string(saves->size()) + " 个存档。";
    if (rejectedLost > 0) result.message += "原来无法读取而被移到一边的存档留在了“" + kept.string() + "”里。";
    return result;
}

Result SaveArchive::backup(const fs::path& zipFile, const fs::path& savesFolder,
                           const std::vector<std::string>& movies) {
    std::vector<std::string> folders = movies;
    std::error_code ec;
    if (folders.empty())
        for (const auto& entry : fs::directory_iterator(savesFolder, ec))
            if (entry.is_directory(ec) && !entry.is_symlink(ec) &&
                isMovieFolderName(entry.path().filename().string()))
                folders.push_back(entry.path().filename().string());
    std::sort(folders.begin(), folders.end());

    std::vector<Save> saves;
    std::size_t skipped = 0;
    std::uint64_t total = 0;
    for (const auto& movie : folders) {
        if (!isMovieFolderName(movie) || !fs::is_directory(fs::symlink_status(savesFolder / movie, ec)))
            continue;
        std::vector<std::string> files;
        for (const auto& entry : fs::directory_iterator(savesFolder / movie, ec))
            files.push_back(entry.path().filename().string());
        std::sort(files.begin(), files.end());
        for (const auto& file : files) {
            auto bytes =
                viewer::FlashSaves::nameOf(file) ? readSmallFile(savesFolder / movie / file) : std::nullopt;
            if (!bytes || !isSave(*bytes)) {
                ++skipped;
                continue;
            }
            total += bytes->size();
            saves.push_back({movie, file, std::move(*bytes)});
        }
    }
    if (saves.size() > MaxEntries || total > MaxTotalBytes)
        return failed("存档太多，超出了一个备份能恢复的大小，没有写备份。");

    const fs::path temporary = base::temporarySibling(zipFile);
    const std::string cannotWrite = "无法写入“" + zipFile.string() + "”。";
    bool ok;
    if (saves.empty()) {
        ok = base::writeFileAtomic(temporary, std::string_view(kEmptyZip, sizeof kEmptyZip));
    } else {
        int error = 0;
        Zip archive(zip_open(temporary.c_str(), ZIP_CREATE | ZIP_EXCL, &error));
        ok = archive != nullptr;
        for (const auto& save : saves) {
            if (!ok) break;
            zip_source_t* source = zip_source_buffer(archive.get(), save.bytes.data(), save.bytes.size(), 0);
            const auto index = source ? zip_file_add(archive.get(), (save.movie + "/" + save.file).c_str(),
                                                     source, ZIP_FL_ENC_UTF_8)
                                      : -1;
            if (index < 0) {
                zip_source_free(source);
                ok = false;
                break;
            }
            // A plain file when unpacked by hand.
            zip_file_set_external_attributes(archive.get(), index, 0, ZIP_OPSYS_UNIX, (S_IFREG | 0644) << 16);
        }
        ok = ok && zip_close(archive.get()) == 0;
        if (ok) archive.release();
        ok = ok && syncPath(temporary);
    }
    ok = ok && std::rename(temporary.c_str(), zipFile.c_str()) == 0;
    if (!ok) {
        fs::remove(temporary, ec);
        return failed(cannotWrite);
    }
    std::set<std::string> written;
    for (const auto& save : saves)
        written.insert(save.movie);
    Result result{Status::Done, {}, {written.begin(), written.end()}, saves.size()};
    result.message = "已把 " + std::to_string(written.size()) + " 个游戏的 " + std::to_string(saves.size()) +
                     " 个存档备份到“" + zipFile.string() + "”。";
    if (skipped > 0) result.message += "有 " + std::to_string(skipped) + " 个文件不是能读的存档，没有备份。";
    return result;
}

} // namespace library
