// The main frame and its parts: the tab strip and the view's mode, the
// caption, the share link, the evening digest, the news line, and a worker
// runner going away.
#include <QClipboard>
#include <QTabBar>
#include <QTableWidget>

#include "app/busy_animation.h"
#include "app/digest_notice.h"
#include "app/job_runner.h"
#include "app/main_frame.h"
#include "app/news_line.h"
#include "app/platform/web_addresses.h"
#include "app_fixture.h"
#include "text/gbk.h"

using namespace app_test;

// The tab strip follows the view's mode, the caption stays, the share link
// fills the clipboard; the evening digest lists the changed stocks in its
// order and a click opens that stock's chart (no notice without a change).
TEST(MainFrame, TabsCaptionShareLinkAndTheEveningDigest) {
    AppStore store;
    for (const char* code : {"600000", "000002"}) {
        const std::string market = code[0] == '6' ? "SS" : "SZ";
        testing_support::InsertStock(store.db(), market, code, "X", "X", 1);
        for (int day = 1; day <= 3; ++day)
            testing_support::InsertBar(store.db(), market, code, 20240100 + day, 9, 11, 8, 10, 100);
    }
    CMainFrame frame(store.session);
    frame.resize(1000, 600);
    frame.show();
    CKorvelView& view = *frame.View();
    EXPECT_TRUE(frame.Busy()->IsRunning());  // 000001 SS opened at set-up
    ASSERT_TRUE(WaitUntil([&] { return !view.IsBusy(); }));
    EXPECT_EQ(frame.Busy()->Frame(), 0);  // nobody answers: failed

    frame.Tabs()->setCurrentIndex(1);
    EXPECT_EQ(view.GetMode(), CKorvelView::kChartMode);
    view.SetMode(CKorvelView::kListMode);
    EXPECT_EQ(frame.Tabs()->currentIndex(), 0);

    frame.setWindowTitle(QStringLiteral("other"));
    EXPECT_EQ(frame.windowTitle(), QStringLiteral("Korvel"));

    QString note;
    AnswerNextMessageBox(QMessageBox::Ok, &note);
    frame.ShareWithFriends();
    EXPECT_TRUE(QApplication::clipboard()->text().endsWith(QLatin1String(kDownloadUrl)));
    EXPECT_TRUE(note.endsWith(QLatin1String(kDownloadUrl)));

    frame.ShowDigest({});
    EXPECT_EQ(frame.Digest(), nullptr);
    const auto gbk = [](const char* utf8) { return text::Utf8ToGbk(utf8); };
    frame.ShowDigest({
        {"SZ", "000002", gbk("万科Ａ"), 1, true, gbk("观望"), gbk("买入"), 20240103, 8.5, 0.0625},
        {"SS", "600000", gbk("浦发银行"), 1, true, gbk("持有"), gbk("卖出"), 20240103, 10.0, -0.05},
    });
    ASSERT_NE(frame.Digest(), nullptr);
    QTableWidget& table = *frame.Digest()->Table();
    ASSERT_EQ(table.rowCount(), 2);
    // The core's cells in the digest's order; 买入 and rises red, 卖出 and falls green.
    const auto colour = [&table](int r, int c) { return table.item(r, c)->foreground().color(); };
    EXPECT_EQ(table.item(0, 1)->text(), "万科Ａ");
    EXPECT_EQ(table.item(1, 2)->text(), "持有 -> 卖出");
    EXPECT_EQ(colour(0, 2), QColor(220, 0, 0));
    EXPECT_EQ(colour(0, 4), QColor(220, 0, 0));
    EXPECT_EQ(colour(1, 2), QColor(0, 150, 0));
    EXPECT_EQ(colour(1, 4), QColor(0, 150, 0));
    QTest::mouseClick(table.viewport(), Qt::LeftButton, {}, table.visualItemRect(table.item(1, 1)).center());
    EXPECT_EQ(view.GetMode(), CKorvelView::kChartMode);
    EXPECT_EQ(store.dc.Code(), "600000");
    EXPECT_EQ(store.dc.Market(), "SS");
    ASSERT_TRUE(WaitUntil([&] { return !view.IsBusy(); }));
}

TEST(NewsLine, RotatesOpensPopUpsOnceAndOpensWhatIsShownOnClick) {
    std::vector<std::string> opened;  // "own URL", "system URL", "message TEXT"
    const auto log = [&opened](const char* how) {
        return [&opened, how](const QString& what) { opened.push_back(how + (" " + what.toStdString())); };
    };
    NewsLine line({{0, 1, "A", "http://a", "msg"}, {2, 1, "B", "http://b", ""}, {1, 1, "C", "http://c", ""}},
                  {log("own"), log("system"), log("message")});
    const auto click = [&line, &opened] {
        opened.clear();
        line.click();
        return opened;
    };
    using Opened = std::vector<std::string>;
    EXPECT_EQ(click(), Opened{"system " + std::string(kOfficialSite)});  // nothing shown yet
    line.Advance();
    EXPECT_EQ(line.text(), QStringLiteral("A"));
    EXPECT_EQ(click(), (Opened{"message msg", "system http://a"}));
    opened.clear();
    line.Advance();  // B pops up instead and leaves the list
    EXPECT_EQ(opened, Opened{"own http://b"});
    EXPECT_EQ(line.News().size(), 2u);
    line.Advance();
    EXPECT_EQ(line.text(), QStringLiteral("C"));
    EXPECT_EQ(click(), Opened{"own http://c"});
    line.Advance();
    EXPECT_EQ(line.text(), QStringLiteral("A"));
}

// Reports reaching the window in order and the end handler: the view's and
// the start page's synchronisation. A runner going away while its job waits
// in a report releases the job, and nothing more is handled.
TEST(JobRunner, ARunnerGoingAwayReleasesItsWorkers) {
    int handled = 0;
    {
        JobRunner runner;
        const SyncReporter report = runner.Reporter([&handled](const SyncReport&) { ++handled; });
        runner.Start([report] {
            for (int i = 0; i < 3; ++i) Report(report, SyncReport::kRunning, "");
            return SyncReport::kFailed;
        });
    }
    EXPECT_EQ(handled, 0);
}
