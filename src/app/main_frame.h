#pragma once
// CMainFrame: the main window, caption always "Korvel". It holds the menu and
// the tool bar (their commands are FrameActions), the view, the tab strip
// 自选股/走势图 that switches the view between list and chart, and the status
// bar with the share link, the news line and the busy animation. It handles
// help, the quick-start page, the about box, the share text and the hot key
// that hides and shows the program.
#include <QList>
#include <QMainWindow>
#include <QPointer>

#include <vector>

#include "app/digest_notice.h"
#include "app/frame_actions.h"
#include "app/session.h"

class BrowserWindow;
class BusyAnimation;
class CKorvelView;
class GlobalHotKey;
class NewsLine;
class QTabBar;

class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    explicit CMainFrame(Session& session);
    ~CMainFrame() override;

    FrameActions& Actions() { return actions_; }
    CKorvelView* View() const { return view_; }
    QTabBar* Tabs() const { return tabs_; }
    BusyAnimation* Busy() const { return busy_; }
    NewsLine* News() const { return news_; }

    // Shows the frame where it was left last time.
    void RestoreAndShow();
    // The evening digest of the start page's synchronisation at the frame's
    // side, when it holds a change; a click on a row opens that chart.
    void ShowDigest(const std::vector<DigestRow>& rows);
    CDigestNotice* Digest() const { return digest_; }
    // Brings the frame to the front (asked by a second copy of the program).
    void ShowAndRaise();
    // The program's own browser window; an open one closes first.
    void OpenInOwnBrowser(const QString& address);
    // The share link: the download address onto the clipboard, and a note.
    void ShareWithFriends();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QWidget* CreateCentre(Session& session);
    void CreateStatusBar(Session& session);
    void ConnectFrameCommands();
    void OpenUserGuide();
    void OpenInSystemBrowser(const QString& url);
    void ShowAbout();
    void ToggleProgramWindows();

    FrameActions actions_;
    CKorvelView* view_ = nullptr;
    QTabBar* tabs_ = nullptr;
    BusyAnimation* busy_ = nullptr;
    NewsLine* news_ = nullptr;
    GlobalHotKey* hotKey_ = nullptr;
    QPointer<BrowserWindow> browser_;
    QPointer<CDigestNotice> digest_;
    QList<QPointer<QWidget>> hiddenWindows_;  // what the hot key hid
};
