#pragma once
// The news line in the status bar: a link button that shows the title of
// the next news entry every ten seconds (wrapping around). A pop-up entry is
// opened at once in the program's own browser window instead, and removed.
// Clicking shows the current entry's message and opens its link; with no
// entry shown it opens the official web site.
#include <QPushButton>
#include <QTimer>

#include <functional>
#include <vector>

#include "sync/server_status.h"

class NewsLine : public QPushButton {
    Q_OBJECT
public:
    static constexpr int kIntervalMs = 10000;

    // How the line opens what it shows.
    struct Openers {
        std::function<void(const QString& url)> ownBrowser;
        std::function<void(const QString& url)> systemBrowser;
        std::function<void(const QString& message)> message;
    };

    NewsLine(std::vector<NewsEntry> news, Openers openers, QWidget* parent = nullptr);

    // The next entry (what the timer does).
    void Advance();
    const std::vector<NewsEntry>& News() const { return news_; }

private:
    void Open();

    std::vector<NewsEntry> news_;
    Openers open_;
    int current_ = -1;  // the entry shown; -1 before the first
    size_t next_ = 0;
    QTimer timer_;
};
