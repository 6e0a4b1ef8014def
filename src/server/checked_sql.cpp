#include "server/checked_sql.h"

#include <optional>
#include <stdexcept>

namespace server {
namespace {

[[noreturn]] void Fail(const std::string& what) {
    throw std::runtime_error(what + ": " + Database::LastError());
}

}  // namespace

Database OpenDatabase(const std::string& path, const OpenOptions& options) {
    std::optional<Database> db = Database::Open(path, options);
    if (!db) Fail("cannot open " + path);
    return std::move(*db);
}

void Exec(Database& db, std::string_view sql, std::initializer_list<SqlValue> values) {
    if (!db.Exec(sql, values)) Fail("cannot run \"" + std::string(sql) + "\"");
}

Statement Prepare(Database& db, std::string_view sql) {
    std::optional<Statement> statement = db.Prepare(sql);
    if (!statement) Fail("cannot prepare \"" + std::string(sql) + "\"");
    return std::move(*statement);
}

Rows::Rows(Statement& query, std::initializer_list<SqlValue> values) : query_(query) {
    query_.Reset();
    if (!query_.BindAll(values)) Fail("cannot bind a value");
}

void Rows::FailStep() { Fail("database error"); }

void Run(Statement& statement, std::initializer_list<SqlValue> values) {
    Rows rows(statement, values);
    while (rows.Next()) {
    }
}

int64_t SingleInt(Statement& query, std::initializer_list<SqlValue> values) {
    Rows rows(query, values);
    return rows.Next() ? rows->ColumnInt64(0) : 0;
}

}  // namespace server
