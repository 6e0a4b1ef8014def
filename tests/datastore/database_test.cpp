#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "../support/temp_dir.h"
#include "datastore/database.h"

namespace {

using testing_support::TempDir;
using Ints = std::vector<int64_t>;

Database OpenIn(const TempDir& dir) {
    std::optional<Database> db = Database::Open((dir / "test.db3").string());
    if (!db) throw std::runtime_error("cannot open");
    return std::move(*db);
}

// Every value of column A that ForEachRow reads for `sql`; -1 marks a failure.
Ints ReadAll(Database& db, std::string_view sql, std::initializer_list<SqlValue> values = {}) {
    Ints read;
    if (!db.ForEachRow(sql, values, [&](const Statement& row) { read.push_back(row.ColumnInt64(0)); }))
        read.push_back(-1);
    return read;
}

TEST(Database, BoundValuesStoreWhatTheStatementTextWould) {
    TempDir dir;
    Database db = OpenIn(dir);
    ASSERT_TRUE(db.Exec("CREATE TABLE T (NAME varchar(16), N int, X float, B BLOB)"));
    // GBK bytes, an embedded quote and a zero byte all survive binding.
    const std::string gbk = "\xC6\xD6\xB7\xA2'\xD2\xF8";
    const std::string withZero("a\0b", 3);
    const int16_t symbols[] = {1, -2, 21};
    ASSERT_TRUE(db.Exec("INSERT INTO T VALUES(?, ?, ?, ?)", {gbk, 20240105, 10.25, BlobRef{symbols, sizeof symbols}}));
    ASSERT_TRUE(db.Exec("INSERT INTO T VALUES(?, ?, ?, ?)", {withZero, "42", nullptr, nullptr}));
    std::optional<Statement> stmt = db.Prepare("SELECT NAME, N, X, B, typeof(N) FROM T ORDER BY rowid");
    ASSERT_TRUE(stmt && stmt->Step());
    EXPECT_EQ(stmt->ColumnText(0), gbk);
    EXPECT_EQ(stmt->ColumnInt64(1), 20240105);
    EXPECT_DOUBLE_EQ(stmt->ColumnDouble(2), 10.25);
    const std::vector<unsigned char> blob = stmt->ColumnBlob(3);
    ASSERT_EQ(blob.size(), sizeof symbols);
    EXPECT_EQ(std::memcmp(blob.data(), symbols, sizeof symbols), 0);
    ASSERT_TRUE(stmt->Step());
    EXPECT_EQ(stmt->ColumnText(0), withZero);
    EXPECT_EQ(stmt->ColumnType(2), SQLITE_NULL);
    EXPECT_EQ(stmt->ColumnText(4), "integer");  // text bound into a numeric column converts like a literal
}

TEST(Database, GetTableTellsFailureFromEmptyResult) {
    TempDir dir;
    Database db = OpenIn(dir);
    ASSERT_TRUE(db.Exec("CREATE TABLE T (A int, B varchar(8)); INSERT INTO T VALUES(1, NULL), (2, 'x');"));
    const std::optional<TextTable> none = db.GetTable("SELECT A, B FROM T WHERE A > ?", {5});
    ASSERT_TRUE(none);
    EXPECT_EQ(none->RowCount(), 0u);
    EXPECT_EQ(none->columns, (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(db.GetTable("SELECT A, B FROM T ORDER BY A")->cells,
              (std::vector<std::string>{"1", "", "2", "x"}));  // NULL reads as ""
    EXPECT_FALSE(db.GetTable("SELECT A FROM MISSING"));
    EXPECT_NE(Database::LastError().find("MISSING"), std::string::npos) << Database::LastError();
    // A refused write records its cause, which names the fault to the user.
    ASSERT_TRUE(db.Exec("PRAGMA query_only = 1"));
    EXPECT_FALSE(db.Exec("INSERT INTO T VALUES(3, 'y')"));
    EXPECT_EQ(Database::LastErrorCode(), SQLITE_READONLY);
}

TEST(Database, TransactionStoresOnlyWhatIsCommitted) {
    TempDir dir;
    Database db = OpenIn(dir);
    ASSERT_TRUE(db.Exec("CREATE TABLE T (A int)"));
    {
        std::optional<Transaction> dropped = Transaction::Begin(db);
        ASSERT_TRUE(dropped);
        ASSERT_TRUE(db.Exec("INSERT INTO T VALUES(1)"));
        EXPECT_FALSE(Transaction::Begin(db));  // one at a time on a connection
        std::optional<Transaction> moved = std::move(dropped);
    }
    std::optional<Transaction> kept = Transaction::Begin(db);
    ASSERT_TRUE(kept);
    const int64_t changes = db.TotalChanges();
    ASSERT_TRUE(db.Exec("INSERT INTO T VALUES(?), (?)", {2, 3}));
    EXPECT_EQ(db.TotalChanges(), changes + 2);
    EXPECT_TRUE(kept->Commit());
    kept.reset();
    EXPECT_EQ(ReadAll(db, "SELECT A FROM T ORDER BY A"), (Ints{2, 3}));
}

// ForEachRow keeps its prepared statements: a repeated read must still see
// every write, get its new bindings, survive failures and nested reads, and
// hold nothing between reads that would keep another connection waiting.
TEST(Database, ForEachRowReusesStatementsSafely) {
    TempDir dir;
    Database db = OpenIn(dir);
    ASSERT_TRUE(db.Exec("CREATE TABLE T (A int, B int)"));
    const std::string_view select = "SELECT A FROM T WHERE B = ? ORDER BY A";
    EXPECT_EQ(ReadAll(db, select, {1}), Ints{});
    ASSERT_TRUE(db.Exec("INSERT INTO T VALUES(5, 1), (6, 2), (7, 1)"));
    EXPECT_EQ(ReadAll(db, select, {1}), (Ints{5, 7}));
    EXPECT_EQ(ReadAll(db, select, {std::string_view("x"), 2}), Ints{-1});  // no 2nd parameter
    EXPECT_EQ(ReadAll(db, select, {2}), Ints{6});

    Ints nested;  // the same text read again from inside a row of the first read
    ASSERT_TRUE(db.ForEachRow(select, {1}, [&](const Statement& row) {
        for (const int64_t v : ReadAll(db, select, {2})) nested.push_back(row.ColumnInt64(0) * 10 + v);
    }));
    EXPECT_EQ(nested, (Ints{56, 76}));

    // A callback that throws leaves the statement free and the file unlocked.
    EXPECT_THROW(db.ForEachRow(select, {1}, [](const Statement&) { throw std::runtime_error("stop"); }),
                 std::runtime_error);
    Database other = OpenIn(dir);
    ASSERT_TRUE(other.Exec("BEGIN EXCLUSIVE")) << Database::LastError();
    ASSERT_TRUE(other.Exec("COMMIT"));
    EXPECT_EQ(ReadAll(db, select, {1}), (Ints{5, 7}));

    // More texts than are kept, then a changed schema.
    for (int k = 0; k < 40; ++k)
        ASSERT_EQ(ReadAll(db, "SELECT A + " + std::to_string(k) + " FROM T WHERE B = 2"), Ints{6 + k});
    ASSERT_TRUE(other.Exec("DROP TABLE T"));
    EXPECT_EQ(ReadAll(db, select, {1}), Ints{-1});
    ASSERT_TRUE(other.Exec("CREATE TABLE T (B int, A int); INSERT INTO T VALUES(1, 9);"));
    EXPECT_EQ(ReadAll(db, select, {1}), Ints{9});
}

// One connection shared by threads, as the program uses it: every write
// lands, every read is whole, and each thread sees its own failures.
TEST(Database, ConnectionIsSharedByThreads) {
    TempDir dir;
    Database db = OpenIn(dir);
    ASSERT_TRUE(db.Exec("CREATE TABLE T (THREAD int, I int, PRIMARY KEY (THREAD, I))"));
    constexpr int kThreads = 4;
    std::vector<int> failures(kThreads, 0);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            Ints expected;
            for (int i = 0; i < 100; ++i) {
                expected.push_back(i);
                if (!db.Exec("INSERT INTO T VALUES(?, ?)", {t, i})) ++failures[t];
                if (ReadAll(db, "SELECT I FROM T WHERE THREAD = ? ORDER BY I", {t}) != expected) ++failures[t];
            }
            const std::string missing = "NOWHERE_" + std::to_string(t);
            if (db.GetTable("SELECT * FROM " + missing) || Database::LastError().find(missing) == std::string::npos)
                ++failures[t];
        });
    }
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(failures, std::vector<int>(kThreads, 0));
}

}  // namespace
