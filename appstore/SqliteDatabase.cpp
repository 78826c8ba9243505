#include "SqliteDatabase.h"

#include <sqlite3.h>
#include <stdexcept>

namespace {

[[noreturn]] void fail(sqlite3* db, std::string_view what) {
    throw std::runtime_error(std::string(what) + ": " + (db ? sqlite3_errmsg(db) : "out of memory"));
}

} // namespace

SqliteStatement::SqliteStatement(sqlite3* db, std::string_view sql) : db_(db) {
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &stmt, nullptr) != SQLITE_OK)
        fail(db, "prepare");
    stmt_.reset(stmt);
}

void SqliteStatement::Finalizer::operator()(sqlite3_stmt* stmt) const {
    sqlite3_finalize(stmt);
}

SqliteStatement& SqliteStatement::bind(int index, std::int64_t value) {
    if (sqlite3_bind_int64(stmt_.get(), index, value) != SQLITE_OK) fail(db_, "bind");
    return *this;
}

SqliteStatement& SqliteStatement::bind(int index, std::string_view value) {
    if (sqlite3_bind_text(stmt_.get(), index, value.data(), static_cast<int>(value.size()),
                          SQLITE_TRANSIENT) != SQLITE_OK)
        fail(db_, "bind");
    return *this;
}

bool SqliteStatement::step() {
    const int rc = sqlite3_step(stmt_.get());
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    fail(db_, "step");
}

std::int64_t SqliteStatement::integer(int column) const {
    return sqlite3_column_int64(stmt_.get(), column);
}

double SqliteStatement::real(int column) const {
    return sqlite3_column_double(stmt_.get(), column);
}

std::string SqliteStatement::text(int column) const {
    const auto* bytes = sqlite3_column_text(stmt_.get(), column);
    if (!bytes) return {};
    return std::string(reinterpret_cast<const char*>(bytes),
                       static_cast<std::size_t>(sqlite3_column_bytes(stmt_.get(), column)));
}

SqliteDatabase::SqliteDatabase(const std::filesystem::path& file, Mode mode) {
    sqlite3* db = nullptr;
    const int flags =
        mode == Mode::ReadOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
    const int rc = sqlite3_open_v2(file.c_str(), &db, flags | SQLITE_OPEN_FULLMUTEX, nullptr);
    db_.reset(db);
    if (rc != SQLITE_OK) fail(db, "open " + file.string());
}

void SqliteDatabase::Closer::operator()(sqlite3* db) const {
    sqlite3_close(db);
}

void SqliteDatabase::execute(std::string_view sql) {
    const std::string script(sql);
    char* message = nullptr;
    if (sqlite3_exec(db_.get(), script.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
        std::string text = message ? message : "unknown error";
        sqlite3_free(message);
        throw std::runtime_error("execute: " + text);
    }
}
