#include "app/korvel_app.h"

#include <QApplication>
#include <QCursor>
#include <QMessageBox>

#include <cstdio>

#include "app/main_frame.h"
#include "app/message_box_sink.h"
#include "app/platform/crash_report.h"
#include "app/platform/data_folder.h"
#include "app/platform/embedded_server.h"
#include "app/platform/single_instance.h"
#include "app/platform/updater.h"
#include "app/start_page.h"
#include "sync/client_code.h"

CKorvelApp::CKorvelApp(AppOptions options) : options_(std::move(options)) {
    if (options_.instanceName.isEmpty()) options_.instanceName = InstanceName();
    session_.dataCenter = &TheDataCenter();  // it holds the data lock for the whole run
}

// The members go in reverse: the running-copy socket, the main window (whose
// jobs end first), the updater's block, the bundled server, the database.
CKorvelApp::~CKorvelApp() = default;

bool CKorvelApp::PrepareData() {
    const std::optional<std::filesystem::path> folder = ChooseDataFolder(options_.dir);
    const MessageSink show = MessageBoxSink(nullptr);
    if (!folder) {
        show("无法打开或创建本地配置信息数据库！");
        return false;
    }
    folder_ = *folder;
    session_.store = OpenLocalStore(folder_, session_.Dc(), show);
    if (!session_.store) return false;
    // The page fetch is the program's own libcurl code, so there is no
    // helper library to load; the client code is read once, here.
    session_.clientCode = ClientCode();
    StartEmbeddedServer();
    return true;
}

void CKorvelApp::StartEmbeddedServer() {
    QApplication::setOverrideCursor(Qt::WaitCursor);  // the first start builds its database
    QString problem;
    server_ = EmbeddedServer::StartIfNeeded(GetSetting(session_.store->settings, "HOST"), folder_, problem);
    QApplication::restoreOverrideCursor();
    if (!problem.isEmpty())
        ShowInformation(nullptr, QStringLiteral("无法启动随附的数据服务器，程序将离线使用。\n\n%1").arg(problem));
}

bool CKorvelApp::InitInstance() {
    if (!PrepareData()) return false;
    std::vector<DigestRow> digest;  // what the start page's synchronisation changed
    if (options_.startPage) {
        CStartpageDlg startPage(session_);
        if (startPage.exec() != QDialog::Accepted) return false;
        digest = startPage.Digest();
    }
    InstallCrashReports();
    if (AnotherCopyRuns()) return false;
    updater_ = UpdaterHandOver::Start(QCoreApplication::applicationDirPath());
    CreateMainFrame(digest);
    return true;
}

void CKorvelApp::InstallCrashReports() {
    const std::filesystem::path folder = StateFolder();
    for (const std::filesystem::path& report : TakeNewCrashReports(folder))
        ShowInformation(nullptr, QStringLiteral("Korvel上次运行时意外退出，错误报告已保存在：\n%1")
                                     .arg(QString::fromStdString(report.string())));
    std::string error;
    if (!InstallCrashReporting(folder, error)) std::printf("%s\n", error.c_str());
}

bool CKorvelApp::AnotherCopyRuns() {
    if (!IsInstanceRunning(options_.instanceName)) return false;
    ShowInformation(nullptr, QStringLiteral("Korvel策略大师已经在运行了"));
    RaiseRunningInstance(options_.instanceName);
    return true;
}

void CKorvelApp::CreateMainFrame(const std::vector<DigestRow>& digest) {
    frame_ = std::make_unique<CMainFrame>(session_);
    frame_->RestoreAndShow();
    frame_->ShowDigest(digest);
    listener_ = std::make_unique<InstanceListener>(options_.instanceName, [frame = frame_.get()] { frame->ShowAndRaise(); });
}
