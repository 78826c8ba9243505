#include "sqlite/Database.h"

#include "TempDir.h"

#include <fstream>
#include <gtest/gtest.h>
#include <sqlite3.h>

using sqlite::Database;
using sqlite::Error;

namespace {

// The kind and code of the error that call throws; Other with code 0 when it throws none.
template <class Call> std::pair<Error::Kind, int> failureOf(Call call) {
    try {
        call();
    } catch (const Error& error) {
        return {error.kind(), error.code()};
    }
    return {Error::Kind::Other, 0};
}

std::int64_t count(const Database& db) {
    auto rows = db.prepare("SELECT count(*) FROM t");
    rows.step();
    return rows.integer(0);
}

} // namespace

TEST(DatabaseTest, EveryFailureIsThrownWithWhatItMeans) {
    TempDir folder;
    const auto file = folder.path() / "a.db";
    Database db(file, Database::Mode::ReadWrite);
    db.execute("CREATE TABLE t(x TEXT PRIMARY KEY)");

    EXPECT_EQ(failureOf([&] { db.prepare("SELECT y FROM t"); }).first, Error::Kind::Schema);
    EXPECT_NE(failureOf([&] { db.prepare("SELECT ?1").bind(2, 1); }).second, 0) << "a bind out of range";

    // A failed step leaves the statement usable: the reset does not repeat the failure.
    auto insert = db.prepare("INSERT INTO t VALUES(?1)");
    insert.bind(1, "a").step();
    EXPECT_EQ(failureOf([&] { insert.reset().step(); }).second, SQLITE_CONSTRAINT_PRIMARYKEY);
    insert.reset().bind(1, "b").step();
    EXPECT_EQ(count(db), 2);

    // Another connection's write transaction: a writer waits, then fails as busy.
    Database other(file, Database::Mode::ReadWrite, std::chrono::milliseconds(10));
    db.execute("BEGIN IMMEDIATE");
    EXPECT_EQ(failureOf([&] { other.execute("INSERT INTO t VALUES('c')"); }).first, Error::Kind::Busy);
    db.execute("COMMIT");
    other.execute("INSERT INTO t VALUES('c')");

    Database reader(file, Database::Mode::ReadOnly);
    EXPECT_EQ(count(reader), 3);
    EXPECT_EQ(failureOf([&] { reader.execute("DELETE FROM t"); }).first, Error::Kind::NotWritable);
    EXPECT_EQ(failureOf([&] { Database(folder.path() / "none.db", Database::Mode::ReadOnly); }).first,
              Error::Kind::NotWritable);

    const auto text = folder.path() / "text.db";
    std::ofstream(text) << std::string(4096, 'x');
    EXPECT_EQ(failureOf([&] { Database(text, Database::Mode::ReadWrite).prepare("SELECT 1 FROM t"); }).first,
              Error::Kind::Damaged);
}

TEST(DatabaseTest, ATransactionKeepsAllOrNothingAndThrowsWhatWentWrong) {
    TempDir folder;
    Database db(folder.path() / "a.db", Database::Mode::ReadWrite);
    db.execute("CREATE TABLE t(x TEXT PRIMARY KEY)");
    db.transaction([&] { db.execute("INSERT INTO t VALUES('kept')"); });

    // Work that throws, SQLite's failure or another: nothing of it stays, its error comes back,
    // and no transaction is left open (the next one begins).
    EXPECT_THROW(db.transaction([&] {
        db.execute("INSERT INTO t VALUES('new')");
        throw std::runtime_error("the disk went away");
    }),
                 std::runtime_error);
    EXPECT_EQ(failureOf([&] {
                  db.transaction([&] {
                      db.execute("INSERT INTO t VALUES('new')");
                      db.execute("INSERT INTO t VALUES('kept')");
                  });
              }).second,
              SQLITE_CONSTRAINT_PRIMARYKEY);
    EXPECT_EQ(count(db), 1);

    // A transaction SQLite has ended already is not rolled back again: the work's own error comes
    // back, not one of a rollback without a transaction.
    EXPECT_EQ(failureOf([&] {
                  db.transaction([&] {
                      db.execute("ROLLBACK");
                      db.prepare("SELECT y FROM t");
                  });
              }).first,
              Error::Kind::Schema);
    db.transaction([&] { db.execute("INSERT INTO t VALUES('last')"); });
    EXPECT_EQ(count(Database(folder.path() / "a.db", Database::Mode::ReadOnly)), 2);
}
