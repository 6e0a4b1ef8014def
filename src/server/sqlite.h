#pragma once
// Thin RAII layer over SQLite for the server: a connection, a prepared
// statement and a transaction. Every failure throws std::runtime_error with
// SQLite's own message, so callers report it where the user can act.
#include <sqlite3.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace server {

class Database {
public:
    // Opens (and with `create` set, creates) the file; waits up to five
    // seconds for a lock held by another process (an import while serving).
    // A connection is used by one thread at a time (no SQLite mutex).
    Database(const std::string& path, bool create);

    sqlite3* handle() const { return db_.get(); }
    void Exec(const char* sql) const;
    // Rows changed by statements on this connection so far.
    int64_t TotalChanges() const { return sqlite3_total_changes64(db_.get()); }

private:
    struct Close {
        void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
    };
    std::unique_ptr<sqlite3, Close> db_;
};

class Statement {
public:
    Statement(const Database& db, const char* sql);

    // Binds are 1-based like SQLite's; text is bound as given (GBK bytes).
    Statement& Bind(int index, int64_t value);
    Statement& Bind(int index, int value) { return Bind(index, static_cast<int64_t>(value)); }
    Statement& Bind(int index, double value);
    Statement& Bind(int index, std::string_view value);

    // Advances to the next row; false when the statement is done.
    bool Step();
    // Runs a statement that returns no rows, then makes it ready for reuse.
    void Run();
    // Clears bindings and rewinds. Readers call it before binding, so a
    // statement left mid-way by an exception is usable again.
    void Reset();

    int64_t Int(int column) const { return sqlite3_column_int64(stmt_.get(), column); }
    double Real(int column) const { return sqlite3_column_double(stmt_.get(), column); }
    bool IsNull(int column) const {
        return sqlite3_column_type(stmt_.get(), column) == SQLITE_NULL;
    }
    std::string_view Text(int column) const;

private:
    struct Finalize {
        void operator()(sqlite3_stmt* stmt) const { sqlite3_finalize(stmt); }
    };
    void Check(int rc) const;
    sqlite3* db_;
    std::unique_ptr<sqlite3_stmt, Finalize> stmt_;
};

// BEGIN on construction; ROLLBACK on destruction unless Commit() ran, so an
// exception never leaves a file half-stored.
class Transaction {
public:
    explicit Transaction(const Database& db);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void Commit();

private:
    const Database& db_;
    bool open_ = true;
};

}  // namespace server
