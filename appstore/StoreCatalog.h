#pragma once
// The store's catalogue in its SQLite database: categories, apps with their developers, and the
// release that the update page announces. The database is created from the seed script on the
// first start with an empty data folder; afterwards it is only read.

#include "sqlite/Database.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace appstore {

struct StoreCategory {
    int cid = 0;
    int leafCid = 0; // 0: the top category with all its leaves
    std::string name;
};

struct StoreApp {
    std::int64_t id = 0;
    std::string name;
    int cid = 0;
    int leafCid = 0;
    std::string developer;
    std::string kind;  // "flash": a movie app (under /widget); "widget": a page app in a frame
    std::string movie; // file name of the Flash movie of a "flash" app
    std::int64_t users = 0;
    double rating = 0;
    std::string added;
    std::string description;
    std::string developerEmail;
    std::string developerIntroduction;
};

struct StoreRelease {
    std::string version;
    std::string file;
    std::string date;
    std::string info;
};

class StoreCatalog {
  public:
    // Opens folder/appstore.db, creating the folder and seeding the database first when it is
    // missing. Throws std::runtime_error when the database cannot be created or read.
    StoreCatalog(const std::filesystem::path& folder, std::string_view seedSql);

    // Top categories in menu order, each followed by its leaves in tab order.
    const std::vector<StoreCategory>& categories() const { return categories_; }
    std::optional<StoreCategory> category(int cid, int leafCid) const;
    std::vector<StoreCategory> leaves(int cid) const;

    int appCount() const;
    std::optional<StoreApp> app(std::int64_t id) const;
    // Apps of a category (leafCid 0: all leaves), most used first.
    int countApps(int cid, int leafCid) const;
    std::vector<StoreApp> listApps(int cid, int leafCid, int offset, int limit) const;
    std::vector<StoreApp> popularApps(int limit) const;
    std::vector<StoreApp> newestApps(int limit) const;
    // Apps whose name, description or developer contains every blank-separated word.
    std::vector<StoreApp> search(std::string_view words, int limit) const;

    StoreRelease release() const;

  private:
    std::vector<StoreApp> readApps(sqlite::Statement& statement) const;

    sqlite::Database db_;
    std::vector<StoreCategory> categories_;
};

} // namespace appstore
