#pragma once
// Library.db held by a connection of its own that keeps the whole file locked (exclusive locking,
// a write transaction open), as another program holding it would, until it is destroyed.

#include <filesystem>
#include <sqlite3.h>

class HeldLibrary {
  public:
    explicit HeldLibrary(const std::filesystem::path& file) {
        sqlite3_open(file.c_str(), &db_);
        held_ = sqlite3_exec(db_,
                             "PRAGMA locking_mode=EXCLUSIVE; BEGIN EXCLUSIVE; "
                             "UPDATE apps SET plays = plays WHERE 0",
                             nullptr, nullptr, nullptr) == SQLITE_OK;
    }
    ~HeldLibrary() {
        sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr);
        sqlite3_close(db_);
    }
    HeldLibrary(const HeldLibrary&) = delete;
    HeldLibrary& operator=(const HeldLibrary&) = delete;
    bool held() const { return held_; }

  private:
    sqlite3* db_ = nullptr;
    bool held_ = false;
};
