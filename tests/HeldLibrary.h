#pragma once
// Library.db held by a connection of its own, as another program holding it would, until it is
// destroyed: Everything keeps the whole file locked (exclusive locking, a write transaction open),
// which only works while no other connection has it open; Writes keeps a write transaction open,
// so others may read but not write.

#include <filesystem>
#include <sqlite3.h>
#include <string>

class HeldLibrary {
  public:
    enum class Hold { Everything, Writes };

    explicit HeldLibrary(const std::filesystem::path& file, Hold hold = Hold::Everything) {
        sqlite3_open(file.c_str(), &db_);
        const char* exclusive = hold == Hold::Everything ? "PRAGMA locking_mode=EXCLUSIVE; " : "";
        held_ =
            sqlite3_exec(
                db_,
                (std::string(exclusive) + "BEGIN EXCLUSIVE; UPDATE apps SET plays = plays WHERE 0").c_str(),
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
