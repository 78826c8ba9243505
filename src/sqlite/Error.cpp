#include "sqlite/Error.h"

#include <sqlite3.h>

namespace sqlite {

Error::Error(int code, const std::string& message) : std::runtime_error(message), code_(code) {}

Error::Kind Error::kind() const {
    switch (code_ & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return Kind::Busy;
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        return Kind::Damaged;
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_CANTOPEN:
    case SQLITE_AUTH:
        return Kind::NotWritable;
    case SQLITE_FULL:
        return Kind::Full;
    case SQLITE_ERROR:
        return Kind::Schema;
    default:
        return Kind::Other;
    }
}

int Error::check(sqlite3* db, std::string_view what, const std::function<int()>& call) {
    // No lock (null) when the connection is not serialized; entering null does nothing.
    sqlite3_mutex* lock = db ? sqlite3_db_mutex(db) : nullptr;
    sqlite3_mutex_enter(lock);
    const int code = call();
    if (code == SQLITE_OK || code == SQLITE_ROW || code == SQLITE_DONE) {
        sqlite3_mutex_leave(lock);
        return code;
    }
    const int extended = db ? sqlite3_extended_errcode(db) : code;
    // The connection's code is this call's unless the call failed before touching it.
    const int reported = (extended & 0xff) == (code & 0xff) ? extended : code;
    const std::string message =
        std::string(what) + ": " + (db && reported == extended ? sqlite3_errmsg(db) : sqlite3_errstr(code));
    sqlite3_mutex_leave(lock);
    throw Error(reported, message);
}

} // namespace sqlite
