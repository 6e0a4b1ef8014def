#include "app/news_line.h"

#include "app/gbk_text.h"
#include "app/platform/web_addresses.h"

namespace {

constexpr int kOwnBrowser = 1;  // popp bit 0: the link opens in the program's own browser window
constexpr int kPopUp = 2;       // popp bit 1: opened at once instead of shown

}  // namespace

NewsLine::NewsLine(std::vector<NewsEntry> news, Openers openers, QWidget* parent)
    : QPushButton(QStringLiteral("访问Korvel操盘网官方网站"), parent), news_(std::move(news)), open_(std::move(openers)) {
    setFlat(true);
    setCursor(Qt::PointingHandCursor);
    setStyleSheet(QStringLiteral("QPushButton { color: blue; border: none; text-align: left; padding: 0 4px; }"));
    connect(this, &QPushButton::clicked, this, &NewsLine::Open);
    connect(&timer_, &QTimer::timeout, this, &NewsLine::Advance);
    timer_.start(kIntervalMs);
}

void NewsLine::Advance() {
    if (news_.empty()) return;
    const size_t at = next_ % news_.size();
    const NewsEntry& entry = news_[at];
    if (entry.popp & kPopUp) {
        const QString url = FromGbk(entry.addr);
        news_.erase(news_.begin() + static_cast<std::ptrdiff_t>(at));
        if (current_ == static_cast<int>(at)) current_ = -1;
        else if (current_ > static_cast<int>(at)) --current_;
        next_ = at;  // the entry after it moved into its place
        if (open_.ownBrowser) open_.ownBrowser(url);
        return;
    }
    setText(FromGbk(entry.titl));
    current_ = static_cast<int>(at);
    next_ = at + 1;
}

void NewsLine::Open() {
    if (current_ < 0) {
        if (open_.systemBrowser) open_.systemBrowser(QString::fromLatin1(kOfficialSite));
        return;
    }
    const NewsEntry entry = news_[static_cast<size_t>(current_)];
    if (!entry.text.empty() && open_.message) open_.message(FromGbk(entry.text));
    if (entry.addr.empty()) return;
    const auto& opener = (entry.popp & kOwnBrowser) ? open_.ownBrowser : open_.systemBrowser;
    if (opener) opener(FromGbk(entry.addr));
}
