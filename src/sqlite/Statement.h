#pragma once
// A prepared statement of a Database, finalized when it goes. Binding, stepping and resetting
// throw sqlite::Error when SQLite fails.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace sqlite {

class Statement {
  public:
    Statement& bind(int index, std::int64_t value);
    Statement& bind(int index, std::string_view value);

    // Runs the statement up to its next row: true at a row, false once it is done.
    bool step();
    // Makes the statement ready to run again, keeping its bindings.
    Statement& reset();

    std::int64_t integer(int column) const;
    double real(int column) const;
    // The column's text; empty for NULL.
    std::string text(int column) const;

  private:
    friend class Database;
    Statement(sqlite3* db, std::string_view sql);

    struct Finalizer {
        void operator()(sqlite3_stmt* stmt) const;
    };
    sqlite3* db_;
    std::unique_ptr<sqlite3_stmt, Finalizer> stmt_;
    // A step failed since the statement last ran cleanly: SQLite repeats that failure, which step
    // has thrown already, when the statement is reset or finalized.
    bool failed_ = false;
};

} // namespace sqlite
