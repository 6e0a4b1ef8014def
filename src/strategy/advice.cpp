#include "strategy/advice.h"

#include <mutex>

#include "text/gbk.h"

std::string CurrentAdvice(const std::vector<int32_t>& signals, const std::vector<int32_t>& dates) {
    static const std::string kBuy = text::Utf8ToGbk("买入");
    static const std::string kSell = text::Utf8ToGbk("卖出");
    static const std::string kHold = text::Utf8ToGbk("持有");
    static const std::string kWait = text::Utf8ToGbk("观望");
    const size_t n = signals.size();
    if (n == 0 || dates.empty() || n != dates.size() || n == 1) return {};
    const int32_t last = signals[n - 1];
    const int32_t previous = signals[n - 2];
    if (previous != last) return previous != 0 ? kSell : kBuy;
    return previous != 0 ? kHold : kWait;
}

std::string CurrentAdvice(const CDataCenter& dc) {
    const std::lock_guard lock(dc.DataLock());
    return CurrentAdvice(dc.Signals(), dc.Dates());
}

char ActionLetter(int32_t signal, int32_t previous) {
    if (signal == 1) return previous == 1 ? 'h' : 'b';
    if (signal == 0) return previous == 0 ? 'w' : 's';
    return '-';
}
