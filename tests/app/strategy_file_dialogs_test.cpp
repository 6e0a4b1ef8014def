// The strategy-file dialogs: a strategy exported through COpExportDlg and
// imported into a fresh installation through the main window's "导入操盘策略"
// arrives whole and shows in the watch list.
#include <QLineEdit>

#include <filesystem>

#include "app/dialogs/check_list.h"
#include "app/dialogs/log_box.h"
#include "app/dialogs/op_export_dlg.h"
#include "app/dialogs/op_import_dlg.h"
#include "app_fixture.h"
#include "strategy/strategy_import.h"
#include "strategy/strategy_record.h"
#include "text/gbk.h"

namespace {

using namespace app_test;

constexpr const char* kGenes = "BaCbcAdefghijklmnopqrst";

// A stored strategy of SS 600000 with its code string, two trades and a
// name markup would break; and SZ 000002, whose report was cut before its
// code string, which cannot be exported.
void StoreStrategies(Database& db) {
    testing_support::InsertStock(db, "SS", "600000", text::Utf8ToGbk("浦发&<银行"), "PFYH", 1);
    testing_support::InsertStock(db, "SZ", "000002", text::Utf8ToGbk("万科Ａ"), "WKA", 1);
    const std::string op = std::string(kGenes) + kGenes + kGenes;
    std::string report = text::Utf8ToGbk("报告\r\n\r\n\r\n操盘密码");
    for (int gene = 0; gene < 3; ++gene) report += text::Utf8ToGbk("\r\n◎") + kGenes + text::Utf8ToGbk("◎");
    const std::vector<unsigned char> genes = GeneBlob(*ImportedGenes(op, version::kNumber));
    const char* insert = "INSERT INTO SECRET(MARKET, CODE, VRSN, NUMS, LENG, GENE, CRPT, DBGN, DEND, INDI) "
                         "VALUES(?, ?, ?, 3, 23, ?, ?, 20230101, 20240110, ?)";
    ASSERT_TRUE(db.Exec(insert, {"SS", "600000", version::kNumber, BlobRef{genes.data(), genes.size()}, report,
                                 text::Utf8ToGbk("持有")}));
    ASSERT_TRUE(db.Exec(insert, {"SZ", "000002", version::kNumber, BlobRef{genes.data(), genes.size()},
                                 text::Utf8ToGbk("报告"), ""}));
    ASSERT_TRUE(db.Exec("INSERT INTO TRADELOG(MARKET, CODE, VRSN, DDATE, BS, PRICE, PROFIT) VALUES "
                        "('SS', '600000', 1106, 20240102, 66, 10.5, 0), "
                        "('SS', '600000', 1106, 20240110, 83, 11.2, 6.67)"));
}

std::string Strategy(Database& db) {
    return Dump(db, "SELECT MARKET, CODE, VRSN, NUMS, LENG, hex(GENE), hex(CRPT), DBGN, DEND FROM SECRET "
                    "WHERE CODE = '600000'") +
           Dump(db, "SELECT quote(DDATE), BS, quote(PRICE), quote(PROFIT) FROM TRADELOG ORDER BY DDATE");
}

// Chooses `path` in the file dialogs while it lives.
class ChosenPath {
public:
    explicit ChosenPath(const QString& path) : saved_(ChooseOpxPath()) {
        ChooseOpxPath() = [path](QWidget*, bool) { return path; };
    }
    ~ChosenPath() { ChooseOpxPath() = saved_; }

private:
    OpxPathChooser saved_;
};

QString NewestLine(QWidget& dialog) { return dialog.findChild<LogBox*>()->Log().section("\r\n", 0, 0); }

TEST(StrategyFileDialogs, ExportThenImportIntoAFreshInstallation) {
    AppStore source;
    StoreStrategies(source.db());
    const std::filesystem::path file = source.dir.path() / "all.opx";
    AnsweredMessages messages;
    {
        COpExportDlg exportDlg(source.db());
        auto* list = exportDlg.findChild<CheckList*>();
        ASSERT_EQ(list->rowCount(), 1);  // SZ 000002 is not offered
        EXPECT_EQ(QStringList({list->Cell(0, 0), list->Cell(0, 1), list->Cell(0, 2), list->Cell(0, 3)}),
                  QStringList({"600000", "浦发&<银行", "20240110", "SS"}));
        const ChosenPath chosen(QString::fromStdString((source.dir.path() / "all").string()));
        Click(exportDlg, "...");
        EXPECT_EQ(exportDlg.findChild<QLineEdit*>()->text().toStdString(), file.string());
        Click(exportDlg, "开始导出");
        EXPECT_EQ(NewestLine(exportDlg), "请先选择需要导出操盘策略的股票。");
        EXPECT_FALSE(std::filesystem::exists(file));
        Click(exportDlg, "全选");
        Click(exportDlg, "开始导出");
        EXPECT_EQ(NewestLine(exportDlg), "成功完成导出操盘策略到文件。");
        EXPECT_TRUE(ButtonNamed(exportDlg, "开始导出")->isEnabled());
    }

    AppStore target;
    testing_support::InsertStock(target.db(), "SS", "600000", text::Utf8ToGbk("浦发&<银行"), "PFYH", 1);
    OpenView open(target);
    ASSERT_EQ(open.view.Model().rowCount(), 0);
    const ChosenPath chosen(QString::fromStdString((source.dir.path() / "all.opx").string()));
    QString log;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<COpImportDlg*>(QApplication::activeModalWidget());
        if (dialog == nullptr) return;
        Click(*dialog, "...");
        Click(*dialog, "开始导入");  // nothing ticked: the log's first line
        EXPECT_FALSE(dialog->Busy());
        Click(*dialog, "全选");
        Click(*dialog, "开始导入");
        EXPECT_TRUE(dialog->Busy());  // until the worker's final line has been handled
        dialog->reject();
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_TRUE(WaitUntil([&] { return !dialog->Busy(); }));
        log = dialog->findChild<LogBox*>()->Log();
        dialog->reject();
    });
    open.actions.importStrategies->trigger();
    EXPECT_EQ(messages.informed, std::vector<QString>{"正在执行操盘策略导入操作，请在导入操作结束后再关闭窗口。"});
    EXPECT_EQ(log.toStdString(),
              "成功从文件中导入操盘策略。\r\n成功导入操盘策略：600000 浦发&<银行\r\n正在导入操盘策略：600000 浦发&<银行...\r\n"
              "开始从文件中导入操盘策略...\r\n请先选择需要导入操盘策略的股票。\r\n");
    EXPECT_EQ(Strategy(target.db()), Strategy(source.db()));
    EXPECT_EQ(open.view.Model().rowCount(), 1);
}

}  // namespace
