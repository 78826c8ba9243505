#include "sqlite/Database.h"

#include <exception>
#include <sqlite3.h>
#include <string>

namespace sqlite {

namespace {

std::string whatOf(const std::exception_ptr& failure) {
    try {
        std::rethrow_exception(failure);
    } catch (const std::exception& e) {
        return e.what();
    } catch (...) {
        return "an unknown failure";
    }
}

} // namespace

Database::Database(const std::filesystem::path& file, Mode mode, std::chrono::milliseconds busyWait) {
    const int flags =
        (mode == Mode::ReadOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE) |
        SQLITE_OPEN_FULLMUTEX;
    sqlite3* db = nullptr;
    const int opened = sqlite3_open_v2(file.c_str(), &db, flags, nullptr);
    // A handle comes back even when the open fails (except without memory); it is closed with
    // this object.
    db_.reset(db);
    Error::check(db, "open " + file.string(), [opened] { return opened; });
    Error::check(db, "extended result codes", [db] { return sqlite3_extended_result_codes(db, 1); });
    Error::check(db, "busy timeout",
                 [&] { return sqlite3_busy_timeout(db, static_cast<int>(busyWait.count())); });
}

void Database::Closer::operator()(sqlite3* db) const {
    // Every statement of the connection is finalized before it; close_v2 cannot fail then.
    sqlite3_close_v2(db);
}

void Database::execute(std::string_view sql) {
    const std::string script(sql);
    Error::check(db_.get(), "execute",
                 [&] { return sqlite3_exec(db_.get(), script.c_str(), nullptr, nullptr, nullptr); });
}

int Database::changes() const {
    return sqlite3_changes(db_.get());
}

void Database::transaction(const std::function<void()>& work) {
    execute("BEGIN IMMEDIATE");
    try {
        work();
        execute("COMMIT");
    } catch (...) {
        // SQLite has rolled back already after some failures (a full disk, an I/O error); then
        // there is nothing left to roll back.
        if (!sqlite3_get_autocommit(db_.get())) {
            const std::exception_ptr failure = std::current_exception();
            try {
                execute("ROLLBACK");
            } catch (const Error& rollback) {
                throw Error(rollback.code(),
                            std::string(rollback.what()) + " (rolling back after: " + whatOf(failure) + ")");
            }
        }
        throw;
    }
}

} // namespace sqlite
