#pragma once
// A small RAII layer over the sqlite3 C API: one open database connection and its prepared
// statements. Errors throw std::runtime_error with SQLite's message.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

class SqliteStatement {
  public:
    SqliteStatement(sqlite3* db, std::string_view sql);

    SqliteStatement& bind(int index, std::int64_t value);
    SqliteStatement& bind(int index, std::string_view value);

    // Runs the statement up to its next row; false when it is done.
    bool step();

    std::int64_t integer(int column) const;
    double real(int column) const;
    std::string text(int column) const;

  private:
    struct Finalizer {
        void operator()(sqlite3_stmt* stmt) const;
    };
    sqlite3* db_;
    std::unique_ptr<sqlite3_stmt, Finalizer> stmt_;
};

class SqliteDatabase {
  public:
    enum class Mode { ReadOnly, Create };
    SqliteDatabase(const std::filesystem::path& file, Mode mode);

    // Runs a script of one or more statements.
    void execute(std::string_view sql);

    SqliteStatement prepare(std::string_view sql) const { return SqliteStatement(db_.get(), sql); }

  private:
    struct Closer {
        void operator()(sqlite3* db) const;
    };
    std::unique_ptr<sqlite3, Closer> db_;
};
