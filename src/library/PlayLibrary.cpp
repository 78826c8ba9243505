#include "library/PlayLibrary.h"

#include "viewer/KeptApps.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <sqlite3.h>

namespace fs = std::filesystem;

namespace library {

namespace {

constexpr int kSchemaVersion = 1;
// How long a writer waits for another process's transaction before it gives up.
constexpr int kBusyMs = 5000;

constexpr const char* kSchema = R"(
CREATE TABLE apps(
    link TEXT PRIMARY KEY NOT NULL,
    name TEXT NOT NULL DEFAULT '',
    is_movie INTEGER NOT NULL DEFAULT 0,
    movie_file TEXT NOT NULL DEFAULT '',
    icon_file TEXT NOT NULL DEFAULT '',
    plays INTEGER NOT NULL DEFAULT 0,
    seconds INTEGER NOT NULL DEFAULT 0,
    last_played INTEGER NOT NULL DEFAULT 0,
    favourite INTEGER NOT NULL DEFAULT 0
) WITHOUT ROWID;
CREATE INDEX apps_by_last_played ON apps(last_played DESC, name);
)";

constexpr const char* kColumns =
    "link, name, is_movie, movie_file, icon_file, plays, seconds, last_played, favourite";

// A prepared statement that finalizes itself.
class Statement {
  public:
    Statement(sqlite3* db, const char* sql) { sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr); }
    ~Statement() { sqlite3_finalize(stmt_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    Statement& reset() {
        sqlite3_reset(stmt_);
        return *this;
    }
    Statement& bind(int index, const std::string& text) {
        sqlite3_bind_text(stmt_, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
        return *this;
    }
    Statement& bind(int index, std::int64_t value) {
        sqlite3_bind_int64(stmt_, index, value);
        return *this;
    }
    int step() { return stmt_ ? sqlite3_step(stmt_) : SQLITE_ERROR; }
    std::string text(int column) const {
        const auto* bytes = sqlite3_column_text(stmt_, column);
        return bytes ? std::string(reinterpret_cast<const char*>(bytes), sqlite3_column_bytes(stmt_, column))
                     : std::string();
    }
    std::int64_t integer(int column) const { return sqlite3_column_int64(stmt_, column); }

  private:
    sqlite3_stmt* stmt_ = nullptr;
};

bool exec(sqlite3* db, const char* sql) {
    return sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

PlayedApp rowOf(const Statement& row) {
    return {row.text(0),    row.text(1),    row.integer(2) != 0, row.text(3),        row.text(4),
            row.integer(5), row.integer(6), row.integer(7),      row.integer(8) != 0};
}

std::int64_t unixSeconds(fs::file_time_type time) {
    const auto system = std::chrono::file_clock::to_sys(time);
    return std::chrono::duration_cast<std::chrono::seconds>(system.time_since_epoch()).count();
}

// The apps kept in Apps/ as rows of a new library: they were opened at least once, last when
// their details were written.
bool importKeptApps(sqlite3* db, const fs::path& appFolder) {
    Statement row(db, "INSERT OR IGNORE INTO apps(link, name, is_movie, movie_file, plays, last_played) "
                      "VALUES(?1, ?2, 1, ?3, 1, ?4)");
    const viewer::KeptApps apps(appFolder);
    for (const auto& kept : apps.all()) {
        row.reset()
            .bind(1, kept.link)
            .bind(2, kept.detail.Name)
            .bind(3, apps.keptMovieFile(kept.detail).value_or(""))
            .bind(4, unixSeconds(kept.keptAt));
        if (row.step() != SQLITE_DONE) return false;
    }
    return true;
}

enum class Opened { Ready, Damaged, Foreign, Failed };

// Why the last call on db failed: a damaged file, or anything else (busy, no permission, disk
// full), which leaves the file as it is.
Opened failure(sqlite3* db) {
    const int code = sqlite3_errcode(db);
    return code == SQLITE_CORRUPT || code == SQLITE_NOTADB ? Opened::Damaged : Opened::Failed;
}

// Why a library that failed with code cannot be used, for the player.
std::string problemOf(Opened why, int code) {
    if (why == Opened::Foreign)
        return "程序文件夹里的 Library.db 不是游戏记录能用的文件（可能来自别的程序），它没有被改动。"
               "游戏记录暂时不会保存；移走这个文件后重新启动即可。";
    switch (code & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return "另一个程序正在使用游戏记录（Library.db），暂时读不到游戏记录。";
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_CANTOPEN:
    case SQLITE_AUTH:
        return "游戏记录（Library.db）无法写入：程序文件夹或这个文件是只读的。";
    case SQLITE_FULL:
        return "磁盘已满，游戏记录（Library.db）无法写入。";
    default:
        return std::string("无法打开游戏记录（Library.db）：") + sqlite3_errstr(code) + "。";
    }
}

// Makes db the library: the schema and the kept apps of a new file, the settings of every
// connection.
Opened prepare(sqlite3* db, const fs::path& appFolder) {
    sqlite3_busy_timeout(db, kBusyMs);
    if (!exec(db, "PRAGMA journal_mode=WAL") || !exec(db, "PRAGMA synchronous=FULL")) return failure(db);
    Statement check(db, "PRAGMA quick_check");
    if (check.step() != SQLITE_ROW) return failure(db);
    if (check.text(0) != "ok") return Opened::Damaged;
    Statement version(db, "PRAGMA user_version");
    if (version.step() != SQLITE_ROW) return failure(db);
    // Later versions only add to the schema, so their files serve as they are, when they hold the
    // table and columns this one reads; a file of another program marked as a version does not.
    if (version.integer(0) >= kSchemaVersion) {
        sqlite3_stmt* columns = nullptr;
        const std::string select = std::string("SELECT ") + kColumns + " FROM apps LIMIT 0";
        const int rc = sqlite3_prepare_v2(db, select.c_str(), -1, &columns, nullptr);
        sqlite3_finalize(columns);
        if (rc == SQLITE_OK) return Opened::Ready;
        return rc == SQLITE_ERROR ? Opened::Foreign : failure(db);
    }
    // A new file: made whole in one transaction, so a crash leaves it new again.
    if (!exec(db, "BEGIN IMMEDIATE")) return failure(db);
    Statement again(db, "PRAGMA user_version"); // another process may have made it meanwhile
    if (again.step() == SQLITE_ROW && again.integer(0) >= kSchemaVersion)
        return exec(db, "COMMIT") ? Opened::Ready : failure(db);
    const std::string setVersion = "PRAGMA user_version=" + std::to_string(kSchemaVersion);
    if (exec(db, kSchema) && importKeptApps(db, appFolder) && exec(db, setVersion.c_str()) &&
        exec(db, "COMMIT"))
        return Opened::Ready;
    const Opened why = failure(db);
    exec(db, "ROLLBACK");
    return why;
}

// The library in file, or null with the reason in why and SQLite's code in code.
sqlite3* openFile(const fs::path& file, const fs::path& appFolder, Opened& why, int& code) {
    sqlite3* db = nullptr;
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX;
    why = sqlite3_open_v2(file.c_str(), &db, flags, nullptr) == SQLITE_OK ? prepare(db, appFolder)
                                                                          : failure(db);
    code = db ? sqlite3_extended_errcode(db) : SQLITE_NOMEM;
    if (why == Opened::Ready) return db;
    sqlite3_close_v2(db);
    return nullptr;
}

// Moves the damaged file and its WAL and shared-memory files aside; the name of the first.
fs::path setAsideDamaged(const fs::path& file) {
    char stamp[32];
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
    gmtime_r(&now, &utc);
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &utc);
    const fs::path aside = file.string() + ".damaged-" + stamp;
    std::error_code ec;
    for (const char* suffix : {"-wal", "-shm"}) {
        const fs::path part = file.string() + suffix;
        if (fs::exists(part, ec)) fs::rename(part, aside.string() + suffix, ec);
    }
    fs::rename(file, aside, ec);
    return ec ? fs::path() : aside;
}

// Runs an UPDATE of the row of link with value as ?2; false when no row changed.
template <class Value>
bool change(sqlite3* db, const char* sql, const std::string& link, const Value& value) {
    Statement update(db, sql);
    update.bind(1, link).bind(2, value);
    return update.step() == SQLITE_DONE && sqlite3_changes(db) > 0;
}

} // namespace

std::unique_ptr<PlayLibrary> PlayLibrary::open(const fs::path& appFolder, std::string* problem) {
    const fs::path file = appFolder / FileName;
    Opened why;
    int code = SQLITE_OK;
    if (sqlite3* db = openFile(file, appFolder, why, code))
        return std::unique_ptr<PlayLibrary>(new PlayLibrary(db, {}));
    // Only a damaged file is set aside: one that is busy or cannot be written now stays, and so
    // does a file of another program.
    fs::path aside = why == Opened::Damaged ? setAsideDamaged(file) : fs::path();
    if (!aside.empty()) {
        if (sqlite3* db = openFile(file, appFolder, why, code))
            return std::unique_ptr<PlayLibrary>(new PlayLibrary(db, aside));
    }
    if (problem) {
        *problem = why == Opened::Damaged && aside.empty()
                       ? "游戏记录（Library.db）已损坏，且无法把它移到一边重新建立。"
                       : problemOf(why, code);
    }
    return nullptr;
}

PlayLibrary::PlayLibrary(sqlite3* db, fs::path setAside) : db_(db), setAside_(std::move(setAside)) {}

PlayLibrary::~PlayLibrary() {
    sqlite3_close_v2(db_);
}

bool PlayLibrary::recordOpen(const std::string& link, const std::string& name, bool isMovie,
                             const std::string& movieFile, const std::string& iconFile, std::int64_t now) {
    const std::lock_guard lock(mutex_);
    Statement upsert(db_, R"(
INSERT INTO apps(link, name, is_movie, movie_file, icon_file, plays, last_played)
    VALUES(?1, ?2, ?3, ?4, ?5, 1, ?6)
ON CONFLICT(link) DO UPDATE SET
    name = CASE WHEN ?2 = '' THEN name ELSE ?2 END,
    is_movie = ?3,
    movie_file = CASE WHEN ?4 = '' THEN movie_file ELSE ?4 END,
    icon_file = CASE WHEN ?5 = '' THEN icon_file ELSE ?5 END,
    plays = plays + 1,
    last_played = ?6)");
    upsert.bind(1, link)
        .bind(2, name)
        .bind(3, std::int64_t{isMovie})
        .bind(4, movieFile)
        .bind(5, iconFile)
        .bind(6, now);
    return upsert.step() == SQLITE_DONE;
}

bool PlayLibrary::addPlayTime(const std::string& link, std::int64_t seconds) {
    const std::lock_guard lock(mutex_);
    return seconds >= 0 &&
           change(db_, "UPDATE apps SET seconds = seconds + ?2 WHERE link = ?1", link, seconds);
}

bool PlayLibrary::setIconFile(const std::string& link, const std::string& iconFile) {
    const std::lock_guard lock(mutex_);
    return change(db_, "UPDATE apps SET icon_file = ?2 WHERE link = ?1", link, iconFile);
}

bool PlayLibrary::setFavourite(const std::string& link, bool favourite) {
    const std::lock_guard lock(mutex_);
    return change(db_, "UPDATE apps SET favourite = ?2 WHERE link = ?1", link, std::int64_t{favourite});
}

bool PlayLibrary::remove(const std::string& link) {
    const std::lock_guard lock(mutex_);
    Statement drop(db_, "DELETE FROM apps WHERE link = ?1");
    drop.bind(1, link);
    return drop.step() == SQLITE_DONE && sqlite3_changes(db_) > 0;
}

std::optional<std::vector<PlayedApp>> PlayLibrary::list() const {
    const std::lock_guard lock(mutex_);
    std::vector<PlayedApp> apps;
    Statement rows(
        db_, (std::string("SELECT ") + kColumns + " FROM apps ORDER BY last_played DESC, name").c_str());
    int rc;
    while ((rc = rows.step()) == SQLITE_ROW)
        apps.push_back(rowOf(rows));
    if (rc != SQLITE_DONE) return std::nullopt;
    return apps;
}

std::optional<PlayedApp> PlayLibrary::find(const std::string& link) const {
    const std::lock_guard lock(mutex_);
    Statement row(db_, (std::string("SELECT ") + kColumns + " FROM apps WHERE link = ?1").c_str());
    row.bind(1, link);
    if (row.step() != SQLITE_ROW) return std::nullopt;
    return rowOf(row);
}

} // namespace library
