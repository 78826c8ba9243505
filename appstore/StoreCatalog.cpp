#include "StoreCatalog.h"

#include <system_error>

namespace appstore {

namespace {

constexpr std::string_view kAppColumns =
    "SELECT a.id, a.name, a.cid, a.leaf_cid, d.name, a.kind, a.movie, a.users, a.rating, a.added, "
    "a.description, d.email, d.introduction FROM apps a JOIN developers d ON d.id = a.developer_id ";
constexpr std::string_view kMostUsed = " ORDER BY a.users DESC, a.id";
constexpr std::size_t kMaxSearchWords = 5;

// Seeds a new database under a temporary name and renames it into place, so that a store killed
// during its first start never leaves a half-filled database behind.
std::filesystem::path ensureDatabase(const std::filesystem::path& folder, std::string_view seedSql) {
    const auto file = folder / "appstore.db";
    if (std::filesystem::exists(file)) return file;
    std::filesystem::create_directories(folder);
    const auto seeding = folder / "appstore.db.seeding";
    std::filesystem::remove(seeding);
    {
        sqlite::Database fresh(seeding, sqlite::Database::Mode::ReadWrite);
        fresh.transaction([&] { fresh.execute(seedSql); });
    }
    std::filesystem::rename(seeding, file);
    return file;
}

std::vector<std::string> splitWords(std::string_view text) {
    std::vector<std::string> words;
    std::size_t pos = 0;
    while (pos < text.size() && words.size() < kMaxSearchWords) {
        const auto start = text.find_first_not_of(" \t\r\n", pos);
        if (start == std::string_view::npos) break;
        auto end = text.find_first_of(" \t\r\n", start);
        if (end == std::string_view::npos) end = text.size();
        words.emplace_back(text.substr(start, end - start));
        pos = end;
    }
    return words;
}

} // namespace

StoreCatalog::StoreCatalog(const std::filesystem::path& folder, std::string_view seedSql)
    : db_(ensureDatabase(folder, seedSql), sqlite::Database::Mode::ReadOnly) {
    auto rows = db_.prepare("SELECT c.cid, c.leaf_cid, c.name FROM categories c "
                            "JOIN categories t ON t.cid = c.cid AND t.leaf_cid = 0 "
                            "ORDER BY t.position, c.leaf_cid <> 0, c.position");
    while (rows.step())
        categories_.push_back(
            {static_cast<int>(rows.integer(0)), static_cast<int>(rows.integer(1)), rows.text(2)});
}

std::optional<StoreCategory> StoreCatalog::category(int cid, int leafCid) const {
    for (const auto& c : categories_)
        if (c.cid == cid && c.leafCid == leafCid) return c;
    return std::nullopt;
}

std::vector<StoreCategory> StoreCatalog::leaves(int cid) const {
    std::vector<StoreCategory> result;
    for (const auto& c : categories_)
        if (c.cid == cid && c.leafCid != 0) result.push_back(c);
    return result;
}

int StoreCatalog::appCount() const {
    auto count = db_.prepare("SELECT count(*) FROM apps");
    count.step();
    return static_cast<int>(count.integer(0));
}

std::optional<StoreApp> StoreCatalog::app(std::int64_t id) const {
    auto row = db_.prepare(std::string(kAppColumns) + "WHERE a.id = ?1");
    row.bind(1, id);
    auto apps = readApps(row);
    if (apps.empty()) return std::nullopt;
    return apps.front();
}

int StoreCatalog::countApps(int cid, int leafCid) const {
    auto count = db_.prepare("SELECT count(*) FROM apps WHERE cid = ?1 AND (?2 = 0 OR leaf_cid = ?2)");
    count.bind(1, cid).bind(2, leafCid).step();
    return static_cast<int>(count.integer(0));
}

std::vector<StoreApp> StoreCatalog::listApps(int cid, int leafCid, int offset, int limit) const {
    auto rows = db_.prepare(std::string(kAppColumns) + "WHERE a.cid = ?1 AND (?2 = 0 OR a.leaf_cid = ?2)" +
                            std::string(kMostUsed) + " LIMIT ?3 OFFSET ?4");
    rows.bind(1, cid).bind(2, leafCid).bind(3, limit).bind(4, offset);
    return readApps(rows);
}

std::vector<StoreApp> StoreCatalog::popularApps(int limit) const {
    auto rows = db_.prepare(std::string(kAppColumns) + std::string(kMostUsed) + " LIMIT ?1");
    rows.bind(1, limit);
    return readApps(rows);
}

std::vector<StoreApp> StoreCatalog::newestApps(int limit) const {
    auto rows = db_.prepare(std::string(kAppColumns) + "ORDER BY a.added DESC, a.id DESC LIMIT ?1");
    rows.bind(1, limit);
    return readApps(rows);
}

std::vector<StoreApp> StoreCatalog::search(std::string_view text, int limit) const {
    const auto words = splitWords(text);
    if (words.empty()) return {};
    // lower() folds ASCII letters only, which is what a search for Latin words needs; Chinese
    // words match byte for byte.
    std::string sql(kAppColumns);
    for (std::size_t i = 0; i < words.size(); ++i) {
        const auto param = "?" + std::to_string(i + 1);
        sql += i == 0 ? "WHERE " : " AND ";
        sql += "(instr(lower(a.name), lower(" + param + ")) > 0 OR instr(lower(a.description), lower(" +
               param + ")) > 0 OR instr(lower(d.name), lower(" + param + ")) > 0)";
    }
    sql += std::string(kMostUsed) + " LIMIT " + std::to_string(limit);
    auto rows = db_.prepare(sql);
    for (std::size_t i = 0; i < words.size(); ++i)
        rows.bind(static_cast<int>(i + 1), words[i]);
    return readApps(rows);
}

StoreRelease StoreCatalog::release() const {
    auto row = db_.prepare("SELECT version, file, date, info FROM release LIMIT 1");
    if (!row.step()) return {};
    return {row.text(0), row.text(1), row.text(2), row.text(3)};
}

std::vector<StoreApp> StoreCatalog::readApps(sqlite::Statement& rows) const {
    std::vector<StoreApp> apps;
    while (rows.step()) {
        apps.push_back({rows.integer(0), rows.text(1), static_cast<int>(rows.integer(2)),
                        static_cast<int>(rows.integer(3)), rows.text(4), rows.text(5), rows.text(6),
                        rows.integer(7), rows.real(8), rows.text(9), rows.text(10), rows.text(11),
                        rows.text(12)});
    }
    return apps;
}

} // namespace appstore
