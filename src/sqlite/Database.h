#pragma once
// One connection to an SQLite file and the statements run on it. Every SQLite call's result is
// checked: a failure throws sqlite::Error (with SQLite's code and message), so a caller never
// mistakes a busy, damaged or full file for an empty answer. A writer waits for another
// connection's transaction up to the busy wait before it fails as busy. The connection is
// serialized: several threads may use it, one call at a time.

#include "sqlite/Error.h"
#include "sqlite/Statement.h"

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <string_view>

struct sqlite3;

namespace sqlite {

class Database {
  public:
    enum class Mode { ReadOnly, ReadWrite }; // ReadWrite makes the file when there is none
    static constexpr std::chrono::milliseconds DefaultBusyWait{5000};

    Database(const std::filesystem::path& file, Mode mode,
             std::chrono::milliseconds busyWait = DefaultBusyWait);

    // Runs a script of one or more statements.
    void execute(std::string_view sql);
    Statement prepare(std::string_view sql) const { return Statement(db_.get(), sql); }
    // Rows changed by the last INSERT, UPDATE or DELETE of this connection.
    int changes() const;

    // Runs work in one write transaction (BEGIN IMMEDIATE ... COMMIT). When work or the commit
    // throws, the transaction is rolled back and the error thrown on; a rollback that fails
    // throws its own error instead, since the file may then hold part of the work.
    void transaction(const std::function<void()>& work);

  private:
    struct Closer {
        void operator()(sqlite3* db) const;
    };
    std::unique_ptr<sqlite3, Closer> db_;
};

} // namespace sqlite
