#pragma once
// A failed SQLite call: what was done, SQLite's message, and its extended result code. Every call
// of Database and Statement that SQLite can fail throws it; nothing is swallowed on the way.

#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>

struct sqlite3;

namespace sqlite {

class Error : public std::runtime_error {
  public:
    // What the failure means for the caller.
    enum class Kind {
        Busy,        // another connection holds the file beyond the busy wait
        Damaged,     // the file is corrupt or no database at all
        NotWritable, // the file or its folder is read-only, or cannot be opened
        Full,        // the disk is full
        Schema,      // the statement does not fit the database (no such table or column, bad SQL)
        Other,
    };

    Error(int code, const std::string& message);

    // SQLite's extended result code.
    int code() const { return code_; }
    Kind kind() const;

    // Runs call (a call of the SQLite API on db that returns a result code) while holding db's
    // lock, so that the message read on failure is this call's and not another thread's. Returns
    // the code when it is SQLITE_OK, SQLITE_ROW or SQLITE_DONE; throws otherwise, naming what.
    static int check(sqlite3* db, std::string_view what, const std::function<int()>& call);

  private:
    int code_;
};

} // namespace sqlite
