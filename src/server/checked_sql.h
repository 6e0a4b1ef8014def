#pragma once
// The data store's SQLite layer (datastore/database.h) with the server's
// error handling: every failure throws std::runtime_error carrying SQLite's
// message, so an import stores nothing of the file it was reading and a
// request is answered 500, each reported where the user sees it.
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

#include "datastore/database.h"

namespace server {

Database OpenDatabase(const std::string& path, const OpenOptions& options);
// SQL text run whole: several statements when no values are given.
void Exec(Database& db, std::string_view sql, std::initializer_list<SqlValue> values = {});
Statement Prepare(Database& db, std::string_view sql);

// One run of a prepared statement with `values` bound to parameters 1, 2, ...
// The statement is reset when the run ends, also by an exception: a
// statement left mid-way keeps its connection's read snapshot open, which
// would hide later imports from that connection and hold back WAL
// checkpoints.
class Rows {
public:
    Rows(Statement& query, std::initializer_list<SqlValue> values);
    ~Rows() { query_.Reset(); }
    Rows(const Rows&) = delete;
    Rows& operator=(const Rows&) = delete;

    // Steps to the next row; false when there is none.
    bool Next() {
        if (query_.Step()) return true;
        if (query_.Failed()) FailStep();
        return false;
    }
    const Statement* operator->() const { return &query_; }

private:
    [[noreturn]] static void FailStep();
    Statement& query_;
};

// Runs a statement that returns no rows.
void Run(Statement& statement, std::initializer_list<SqlValue> values);
// The first column of the first row as an integer; 0 without a row.
int64_t SingleInt(Statement& query, std::initializer_list<SqlValue> values = {});

}  // namespace server
