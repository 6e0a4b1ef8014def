#include <gtest/gtest.h>

#include <fstream>

#include "../support/temp_dir.h"
#include "datastore/open_database.h"

namespace {

using testing_support::TempDir;

struct Messages {
    std::vector<std::string> shown;
    MessageSink Sink() {
        return [this](std::string_view m) { shown.emplace_back(m); };
    }
};

std::vector<std::string> Tables(Database& db) {
    const std::optional<TextTable> rows = db.GetTable("SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name");
    return rows ? rows->cells : std::vector<std::string>{};
}

std::vector<std::string> SecretColumns(Database& db) {
    const std::optional<TextTable> rows = db.GetTable("SELECT name FROM pragma_table_info('SECRET')");
    return rows ? rows->cells : std::vector<std::string>{};
}

TEST(OpenDatabase, CreatesTheDefaultFileWithEveryTable) {
    TempDir dir;
    Messages messages;
    std::optional<Database> db = OpenDatabase(dir.path(), messages.Sink());
    ASSERT_TRUE(db);
    EXPECT_EQ(db->Path(), (dir / "thedb.db3").string());
    EXPECT_TRUE(std::filesystem::exists(dir / "thedb.db3"));
    EXPECT_EQ(Tables(*db), (std::vector<std::string>{"ADVICECHANGE", "ADVICESYNC", "APPSET", "DAILY", "DIVIDEND",
                                                     "HOST", "SECRET", "STOCKCODE", "TRADELOG"}));
    EXPECT_EQ(SecretColumns(*db), (std::vector<std::string>{"MARKET", "CODE", "VRSN", "NUMS", "LENG", "GENE", "CRPT",
                                                            "UDAY", "INDI", "DBGN", "DEND"}));
    EXPECT_TRUE(messages.shown.empty());
}

TEST(OpenDatabase, PrefersAnExistingKorvelFile) {
    TempDir dir;
    {
        std::optional<Database> old = Database::Open((dir / "korvel.db3").string());
        ASSERT_TRUE(old);
        ASSERT_TRUE(old->Exec("CREATE TABLE MARK (A int)"));
    }
    std::ofstream(dir / "thedb.db3").close();
    Messages messages;
    std::optional<Database> db = OpenDatabase(dir.path(), messages.Sink());
    ASSERT_TRUE(db);
    EXPECT_EQ(db->Path(), (dir / "korvel.db3").string());
    const std::vector<std::string> tables = Tables(*db);
    EXPECT_NE(std::find(tables.begin(), tables.end(), "MARK"), tables.end());
    EXPECT_NE(std::find(tables.begin(), tables.end(), "SECRET"), tables.end());
}

// A file of an older version: SECRET without DBGN/DEND, strategies and
// trade logs stored by earlier version numbers.
TEST(OpenDatabase, UpgradesAnOlderFileInPlace) {
    TempDir dir;
    {
        std::optional<Database> old = Database::Open((dir / "thedb.db3").string());
        ASSERT_TRUE(old);
        ASSERT_TRUE(old->Exec(
            "CREATE TABLE SECRET (MARKET varchar(16) NOT NULL,CODE varchar(16) NOT NULL,VRSN int(11) NULL,NUMS int "
            "NULL,LENG int NULL,GENE BLOB NULL,CRPT varchar(1024) NULL,UDAY int NULL,INDI varchar(16) NULL,PRIMARY "
            "KEY  (MARKET,CODE,VRSN));"
            "CREATE TABLE TRADELOG(MARKET varchar(16) NOT NULL,CODE varchar(16) NOT NULL,VRSN int(11) NOT NULL,DDATE "
            "int(11) NOT NULL,BS int(11) NOT NULL,PRICE float NOT NULL,PROFIT float NOT NULL,PRIMARY "
            "KEY(MARKET,CODE,VRSN,DDATE));"
            "INSERT INTO SECRET(MARKET,CODE,VRSN) VALUES('SS','600000',1102);"
            "INSERT INTO SECRET(MARKET,CODE,VRSN) VALUES('SZ','000001',1104);"
            "INSERT INTO SECRET(MARKET,CODE,VRSN) VALUES('SZ','000002',1101);"
            "INSERT INTO TRADELOG VALUES('SS','600000',1104,20200101,0,10.5,0);"
            "INSERT INTO TRADELOG VALUES('SS','600000',1105,20200102,1,11.5,9.52);"));
    }
    std::optional<Database> db = OpenDatabase(dir.path(), {});
    ASSERT_TRUE(db);
    EXPECT_EQ(SecretColumns(*db).size(), 11u);
    const std::optional<TextTable> secret =
        db->GetTable("SELECT CODE, VRSN, DBGN IS NULL, DEND IS NULL FROM SECRET ORDER BY CODE");
    ASSERT_TRUE(secret);
    EXPECT_EQ(secret->cells, (std::vector<std::string>{"000001", "1106", "1", "1", "000002", "1101", "1", "1",
                                                        "600000", "1106", "1", "1"}));
    const std::optional<TextTable> log = db->GetTable("SELECT VRSN FROM TRADELOG ORDER BY DDATE");
    ASSERT_TRUE(log);
    EXPECT_EQ(log->cells, (std::vector<std::string>{"1104", "1106"}));

    // A second start changes nothing more.
    db.reset();
    db = OpenDatabase(dir.path(), {});
    ASSERT_TRUE(db);
    EXPECT_EQ(db->GetTable("SELECT VRSN FROM TRADELOG ORDER BY DDATE")->cells,
              (std::vector<std::string>{"1104", "1106"}));
}

TEST(OpenDatabase, ShowsTheMessageWhenNoFileCanBeOpened) {
    TempDir dir;
    Messages messages;
    EXPECT_FALSE(OpenDatabase(dir / "missing-folder", messages.Sink()));
    EXPECT_EQ(messages.shown, std::vector<std::string>{"无法打开或创建本地配置信息数据库！"});
}

}  // namespace
