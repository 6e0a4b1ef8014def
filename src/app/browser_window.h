#pragma once
// The program's own browser window: one modeless dialog showing a page of
// the web (fetched with the program's page fetch) or a bundled document
// (the user guide, Markdown or HTML, with its images).
#include <QDialog>

class QTextBrowser;

class BrowserWindow : public QDialog {
    Q_OBJECT
public:
    explicit BrowserWindow(QWidget* parent = nullptr);

    // Shows `address`: a local file path or an http(s) URL.
    void Open(const QString& address);

    QTextBrowser* Browser() const { return browser_; }

private:
    void ShowPage(const QString& url, const std::string& body);

    QTextBrowser* browser_;
};
