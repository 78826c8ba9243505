#include "library/PlayLibrary.h"

#include "sqlite/Database.h"
#include "viewer/KeptApps.h"

#include <chrono>
#include <cstdio>
#include <ctime>

namespace fs = std::filesystem;

namespace library {

namespace {

constexpr int kSchemaVersion = 1;
// How long a writer waits for another process's transaction before it gives up.
constexpr std::chrono::milliseconds kBusyWait{5000};

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

PlayedApp rowOf(const sqlite::Statement& row) {
    return {row.text(0),    row.text(1),    row.integer(2) != 0, row.text(3),        row.text(4),
            row.integer(5), row.integer(6), row.integer(7),      row.integer(8) != 0};
}

std::int64_t unixSeconds(fs::file_time_type time) {
    const auto system = std::chrono::file_clock::to_sys(time);
    return std::chrono::duration_cast<std::chrono::seconds>(system.time_since_epoch()).count();
}

// The apps kept in Apps/ as rows of a new library: they were opened at least once, last when
// their details were written.
void importKeptApps(sqlite::Database& db, const fs::path& appFolder) {
    auto row = db.prepare("INSERT OR IGNORE INTO apps(link, name, is_movie, movie_file, plays, last_played) "
                          "VALUES(?1, ?2, 1, ?3, 1, ?4)");
    const viewer::KeptApps apps(appFolder);
    for (const auto& kept : apps.all()) {
        row.reset()
            .bind(1, kept.link)
            .bind(2, kept.detail.Name)
            .bind(3, apps.keptMovieFile(kept.detail).value_or(""))
            .bind(4, unixSeconds(kept.keptAt));
        row.step();
    }
}

enum class Opened { Ready, Damaged, Foreign, Failed };

constexpr const char* kForeign =
    "程序文件夹里的 Library.db 不是游戏记录能用的文件（可能来自别的程序），它没有被改动。"
    "游戏记录暂时不会保存；移走这个文件后重新启动即可。";

// Makes db the library: the schema and the kept apps of a new file, the settings of every
// connection. Ready, Damaged (quick_check finds faults) or Foreign; throws what SQLite fails.
Opened prepare(sqlite::Database& db, const fs::path& appFolder) {
    db.execute("PRAGMA journal_mode=WAL");
    db.execute("PRAGMA synchronous=FULL");
    auto check = db.prepare("PRAGMA quick_check");
    if (!check.step() || check.text(0) != "ok") return Opened::Damaged;
    auto version = db.prepare("PRAGMA user_version");
    version.step();
    // Later versions only add to the schema, so their files serve as they are, when they hold the
    // table and columns this one reads; a file of another program marked as a version does not.
    if (version.integer(0) >= kSchemaVersion) {
        try {
            db.prepare(std::string("SELECT ") + kColumns + " FROM apps LIMIT 0");
            return Opened::Ready;
        } catch (const sqlite::Error& error) {
            if (error.kind() == sqlite::Error::Kind::Schema) return Opened::Foreign;
            throw;
        }
    }
    // A new file: made whole in one transaction, so a crash leaves it new again.
    db.transaction([&] {
        auto again = db.prepare("PRAGMA user_version"); // another process may have made it meanwhile
        if (again.step() && again.integer(0) >= kSchemaVersion) return;
        db.execute(kSchema);
        importKeptApps(db, appFolder);
        db.execute("PRAGMA user_version=" + std::to_string(kSchemaVersion));
    });
    return Opened::Ready;
}

// One try at opening the library in file: the connection, or why not (and for the player, in
// problem).
struct Attempt {
    std::unique_ptr<sqlite::Database> db;
    Opened why = Opened::Ready;
    LibraryProblem problem;
};

Attempt openFile(const fs::path& file, const fs::path& appFolder) {
    try {
        auto db = std::make_unique<sqlite::Database>(file, sqlite::Database::Mode::ReadWrite, kBusyWait);
        const Opened why = prepare(*db, appFolder);
        if (why == Opened::Ready) return {std::move(db), why, {}};
        return {nullptr, why, {false, why == Opened::Foreign ? kForeign : "游戏记录（Library.db）已损坏。"}};
    } catch (const sqlite::Error& error) {
        // A damaged file, or anything else (busy, no permission, disk full), which leaves the
        // file as it is.
        const Opened why = error.kind() == sqlite::Error::Kind::Damaged ? Opened::Damaged : Opened::Failed;
        return {nullptr, why, LibraryProblem::of(error)};
    }
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
bool change(sqlite::Database& db, const char* sql, const std::string& link, const Value& value) {
    auto update = db.prepare(sql);
    update.bind(1, link).bind(2, value).step();
    return db.changes() > 0;
}

} // namespace

std::unique_ptr<PlayLibrary> PlayLibrary::open(const fs::path& appFolder, LibraryProblem* problem) {
    const fs::path file = appFolder / FileName;
    Attempt attempt = openFile(file, appFolder);
    if (attempt.db) return std::unique_ptr<PlayLibrary>(new PlayLibrary(std::move(attempt.db), {}));
    // Only a damaged file is set aside: one that is busy or cannot be written now stays, and so
    // does a file of another program.
    fs::path aside = attempt.why == Opened::Damaged ? setAsideDamaged(file) : fs::path();
    if (!aside.empty()) {
        attempt = openFile(file, appFolder);
        if (attempt.db) return std::unique_ptr<PlayLibrary>(new PlayLibrary(std::move(attempt.db), aside));
    }
    if (problem) {
        *problem = attempt.why == Opened::Damaged && aside.empty()
                       ? LibraryProblem{false, "游戏记录（Library.db）已损坏，且无法把它移到一边重新建立。"}
                       : attempt.problem;
    }
    return nullptr;
}

PlayLibrary::PlayLibrary(std::unique_ptr<sqlite::Database> db, fs::path setAside)
    : db_(std::move(db)), setAside_(std::move(setAside)) {}

PlayLibrary::~PlayLibrary() = default;

void PlayLibrary::recordOpen(const std::string& link, const std::string& name, bool isMovie,
                             const std::string& movieFile, const std::string& iconFile, std::int64_t now) {
    const std::lock_guard lock(mutex_);
    auto upsert = db_->prepare(R"(
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
        .bind(6, now)
        .step();
}

bool PlayLibrary::addPlayTime(const std::string& link, std::int64_t seconds) {
    const std::lock_guard lock(mutex_);
    return seconds >= 0 &&
           change(*db_, "UPDATE apps SET seconds = seconds + ?2 WHERE link = ?1", link, seconds);
}

bool PlayLibrary::setIconFile(const std::string& link, const std::string& iconFile) {
    const std::lock_guard lock(mutex_);
    return change(*db_, "UPDATE apps SET icon_file = ?2 WHERE link = ?1", link, iconFile);
}

bool PlayLibrary::setFavourite(const std::string& link, bool favourite) {
    const std::lock_guard lock(mutex_);
    return change(*db_, "UPDATE apps SET favourite = ?2 WHERE link = ?1", link, std::int64_t{favourite});
}

bool PlayLibrary::remove(const std::string& link) {
    const std::lock_guard lock(mutex_);
    db_->prepare("DELETE FROM apps WHERE link = ?1").bind(1, link).step();
    return db_->changes() > 0;
}

std::vector<PlayedApp> PlayLibrary::list() const {
    const std::lock_guard lock(mutex_);
    std::vector<PlayedApp> apps;
    auto rows =
        db_->prepare(std::string("SELECT ") + kColumns + " FROM apps ORDER BY last_played DESC, name");
    while (rows.step())
        apps.push_back(rowOf(rows));
    return apps;
}

std::optional<PlayedApp> PlayLibrary::find(const std::string& link) const {
    const std::lock_guard lock(mutex_);
    auto row = db_->prepare(std::string("SELECT ") + kColumns + " FROM apps WHERE link = ?1");
    row.bind(1, link);
    if (!row.step()) return std::nullopt;
    return rowOf(row);
}

} // namespace library
