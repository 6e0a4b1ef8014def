#include "datastore/open_database.h"

#include <fstream>

namespace {

// The file format: each statement is issued verbatim, on every start, in this
// order. The version chain carries strategies stored by 1102 to 1105 forward
// to 1106 in one start; trade logs are carried only from 1105.
constexpr const char* kSchemaStatements[] = {
    "CREATE TABLE DAILY (MARKET varchar(16) NOT NULL,CODE varchar(16) NOT NULL,DDATE int(11) NOT "
    "NULL,DOPEN float NOT NULL,DHIGH float NOT NULL,DLOW float NOT NULL,DCLOSE float NOT NULL,VOLUME "
    "float default NULL,PRIMARY KEY  (MARKET,CODE,DDATE));",
    "CREATE TABLE SECRET (MARKET varchar(16) NOT NULL,CODE varchar(16) NOT NULL,VRSN int(11) NULL,NUMS "
    "int NULL,LENG int NULL,GENE BLOB NULL,CRPT varchar(1024) NULL,UDAY int NULL,INDI varchar(16) "
    "NULL,DBGN int NULL,DEND int NULL,PRIMARY KEY  (MARKET,CODE,VRSN));",
    "ALTER TABLE SECRET ADD DBGN int NULL;",
    "ALTER TABLE SECRET ADD DEND int NULL;",
    "UPDATE SECRET SET VRSN = 1103 WHERE VRSN = 1102;",
    "UPDATE SECRET SET VRSN = 1104 WHERE VRSN = 1103;",
    "UPDATE SECRET SET VRSN = 1105 WHERE VRSN = 1104;",
    "UPDATE SECRET SET VRSN = 1106 WHERE VRSN = 1105;",
    "CREATE TABLE TRADELOG(MARKET varchar(16) NOT NULL,CODE varchar(16) NOT NULL,VRSN int(11) NOT "
    "NULL,DDATE int(11) NOT NULL,BS int(11) NOT NULL,PRICE float NOT NULL,PROFIT float NOT "
    "NULL,PRIMARY KEY(MARKET,CODE,VRSN,DDATE));",
    "UPDATE TRADELOG SET VRSN = 1106 WHERE VRSN = 1105;",
    "CREATE TABLE APPSET (ITEM varchar(64) NOT NULL,SETS varchar(512) NOT NULL,CMMT varchar(512) "
    "NULL,PRIMARY KEY (ITEM));",
    "CREATE TABLE STOCKCODE (DDATE int(11) NULL,MARKET varchar(16) NOT NULL,CODE varchar(16) NOT "
    "NULL,ABBR varchar(16) NOT NULL,PINYIN varchar(16) NOT NULL,PTYPE int NOT NULL,PRIMARY KEY  "
    "(DDATE, MARKET,CODE));",
    "CREATE TABLE DIVIDEND(MARKET varchar(16) NOT NULL,CODE varchar(16) NOT NULL,DDATE int(11) NOT "
    "NULL,SONGGU float NOT NULL,ZHUANZHENG float NOT NULL,PAIXI float NOT NULL,PEIGU float NOT "
    "NULL,PPEIGU float NOT NULL,PRIMARY KEY  (MARKET,CODE,DDATE));",
    "CREATE TABLE HOST (ADDR varchar(256)NOT NULL,NETT int(11) NOT NULL,CMNT varchar(256) DEFAULT "
    "NULL,PRIMARY KEY (ADDR));",
    // Our own: the history of advice changes behind the evening digest
    // (strategy/advice_history.h). Earlier programs never look at them.
    "CREATE TABLE ADVICESYNC (RUN INTEGER PRIMARY KEY,STAMP int NOT NULL);",
    "CREATE TABLE ADVICECHANGE (RUN int NOT NULL,MARKET varchar(16) NOT NULL,CODE varchar(16) NOT NULL,"
    "DDATE int NOT NULL,OLDINDI varchar(16) NULL,NEWINDI varchar(16) NULL,DCLOSE float NULL,PCLOSE float NULL);",
};

bool IsReadable(const std::filesystem::path& file) { return std::ifstream(file, std::ios::binary).is_open(); }

}  // namespace

void CreateSchema(Database& db) {
    for (const char* statement : kSchemaStatements) db.Exec(statement);
}

std::optional<Database> OpenDatabase(const std::filesystem::path& dir, const MessageSink& show) {
    const std::filesystem::path preferred = dir / kPreferredDatabaseFile;
    const std::filesystem::path fallback = dir / kDefaultDatabaseFile;
    const std::filesystem::path& chosen = IsReadable(preferred) ? preferred : fallback;
    std::optional<Database> db = Database::Open(chosen.string());
    if (!db) db = Database::Open(fallback.string());
    if (!db) {
        if (show) show("无法打开或创建本地配置信息数据库！");
        return std::nullopt;
    }
    CreateSchema(*db);
    return db;
}
