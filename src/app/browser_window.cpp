#include "app/browser_window.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QPointer>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include <thread>

#include "app/gbk_text.h"
#include "sync/page_fetch.h"

BrowserWindow::BrowserWindow(QWidget* parent) : QDialog(parent), browser_(new QTextBrowser) {
    setWindowTitle(QStringLiteral("Korvel"));
    setAttribute(Qt::WA_DeleteOnClose);
    resize(760, 640);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser_);
    browser_->setOpenExternalLinks(true);
}

void BrowserWindow::Open(const QString& address) {
    const QUrl url = QUrl::fromUserInput(address);
    if (url.isLocalFile()) {
        const bool markdown = QFileInfo(url.toLocalFile()).suffix() == QStringLiteral("md");
        browser_->setSource(url, markdown ? QTextDocument::MarkdownResource : QTextDocument::HtmlResource);
        setWindowTitle(browser_->documentTitle().isEmpty() ? QStringLiteral("Korvel") : browser_->documentTitle());
        return;
    }
    browser_->setPlainText(QStringLiteral("正在打开 %1 ...").arg(address));
    // The fetch owes nothing to the window: closing it never waits for the
    // server, and a page arriving after the window closed is dropped.
    std::thread([window = QPointer<BrowserWindow>(this), address, target = url.toString().toStdString()] {
        std::string body = GetHtml(target);
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [window, address, body = std::move(body)] {
                if (window) window->ShowPage(address, body);
            },
            Qt::QueuedConnection);
    }).detach();
}

void BrowserWindow::ShowPage(const QString& url, const std::string& body) {
    if (body.empty()) {
        browser_->setPlainText(QStringLiteral("无法打开 %1").arg(url));
        return;
    }
    // Pages from Chinese sites come as UTF-8 or GBK.
    const QString utf8 = QString::fromUtf8(body.data(), static_cast<qsizetype>(body.size()));
    browser_->setHtml(utf8.contains(QChar::ReplacementCharacter) ? FromGbk(body) : utf8);
}
