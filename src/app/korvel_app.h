#pragma once
// CKorvelApp: brings the desktop program up in a fixed order and takes it
// down again. Start-up: the database and settings with the run parameters,
// the client code, the bundled data server when needed, the start page,
// crash reporting, the check for a running copy, the updater hand-over, and
// the main window. Shutdown happens in reverse as its members go away.
#include <QString>

#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

#include "app/session.h"
#include "strategy/advice_digest.h"

class CMainFrame;
class EmbeddedServer;
class InstanceListener;
class UpdaterHandOver;

struct AppOptions {
    std::optional<std::filesystem::path> dir;  // --dir: the data folder
    QString instanceName;                      // the running copy's socket; empty: this user's
    bool startPage = true;                     // false: go on as after "登录" (screenshots, benchmarks)
};

class CKorvelApp {
public:
    explicit CKorvelApp(AppOptions options);
    ~CKorvelApp();
    CKorvelApp(const CKorvelApp&) = delete;
    CKorvelApp& operator=(const CKorvelApp&) = delete;

    // Runs start-up; false when the program is to end now (after its message).
    bool InitInstance();

    // The data steps of start-up alone (database, settings, client code,
    // bundled server); false after the message when they fail.
    bool PrepareData();

    Session& GetSession() { return session_; }
    const std::filesystem::path& DataFolder() const { return folder_; }
    CMainFrame* MainFrame() const { return frame_.get(); }

private:
    void StartEmbeddedServer();
    void InstallCrashReports();
    bool AnotherCopyRuns();
    void CreateMainFrame(const std::vector<DigestRow>& digest);

    AppOptions options_;
    std::filesystem::path folder_;
    Session session_;
    std::unique_ptr<EmbeddedServer> server_;
    std::unique_ptr<UpdaterHandOver> updater_;
    std::unique_ptr<CMainFrame> frame_;
    std::unique_ptr<InstanceListener> listener_;
};
