#include "sqlite/Statement.h"

#include "sqlite/Error.h"

#include <sqlite3.h>

namespace sqlite {

Statement::Statement(sqlite3* db, std::string_view sql) : db_(db) {
    sqlite3_stmt* stmt = nullptr;
    Error::check(db, "prepare", [&] {
        return sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &stmt, nullptr);
    });
    stmt_.reset(stmt);
}

void Statement::Finalizer::operator()(sqlite3_stmt* stmt) const {
    // Its result repeats the last step's failure, which step has thrown; a clean statement
    // finalizes without one.
    sqlite3_finalize(stmt);
}

Statement& Statement::bind(int index, std::int64_t value) {
    Error::check(db_, "bind", [&] { return sqlite3_bind_int64(stmt_.get(), index, value); });
    return *this;
}

Statement& Statement::bind(int index, std::string_view value) {
    Error::check(db_, "bind", [&] {
        return sqlite3_bind_text(stmt_.get(), index, value.data(), static_cast<int>(value.size()),
                                 SQLITE_TRANSIENT);
    });
    return *this;
}

bool Statement::step() {
    failed_ = true;
    const int code = Error::check(db_, "step", [&] { return sqlite3_step(stmt_.get()); });
    failed_ = false;
    return code == SQLITE_ROW;
}

Statement& Statement::reset() {
    const bool failed = failed_;
    failed_ = false;
    const int code = sqlite3_reset(stmt_.get());
    // After a failed step the reset only says that again; anything else is news.
    if (!failed) Error::check(db_, "reset", [code] { return code; });
    return *this;
}

std::int64_t Statement::integer(int column) const {
    return sqlite3_column_int64(stmt_.get(), column);
}

double Statement::real(int column) const {
    return sqlite3_column_double(stmt_.get(), column);
}

std::string Statement::text(int column) const {
    const auto* bytes = sqlite3_column_text(stmt_.get(), column);
    if (!bytes) {
        // NULL, or no memory to convert the value into text.
        if (sqlite3_column_type(stmt_.get(), column) != SQLITE_NULL)
            throw Error(SQLITE_NOMEM, "text: out of memory");
        return {};
    }
    return std::string(reinterpret_cast<const char*>(bytes),
                       static_cast<std::size_t>(sqlite3_column_bytes(stmt_.get(), column)));
}

} // namespace sqlite
