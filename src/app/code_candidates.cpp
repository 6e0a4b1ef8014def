#include "app/code_candidates.h"

#include <algorithm>

#include "text/gbk.h"

namespace {

// The edit box holds at most this many characters.
constexpr size_t kMaxTyped = 255;

std::string Lower(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    return lower;
}

}  // namespace

std::vector<CodeCandidate> BuildCandidates(const std::vector<StockInfo>& stocks) {
    static const struct {
        const char* name;
        const char* key;
    } kIndicators[] = {{"KDJ指标", "KDJ"}, {"MACD指标", "MACD"}, {"RSI指标", "RSI"}, {"CCI指标", "CCI"},
                       {"成交量", "VOL"},  {"布林线", "BOLL"},   {"移动均线", "MA"}};
    std::vector<CodeCandidate> candidates;
    candidates.reserve(std::size(kIndicators) + stocks.size());
    for (const auto& i : kIndicators)
        candidates.push_back({kIndicatorMarket, i.key, text::Utf8ToGbk(i.name), Lower(i.key), 0});
    // Stock lists carry the initials in either case; typing is matched in
    // lower case.
    for (const StockInfo& s : stocks) candidates.push_back({s.market, s.code, s.abbr, Lower(s.pinyin), s.ptype});
    return candidates;
}

std::vector<size_t> FilterCandidates(const std::vector<CodeCandidate>& candidates, std::string_view typed) {
    std::vector<size_t> shown;
    const std::string text = Lower(typed.substr(0, kMaxTyped));
    for (size_t i = 0; i < candidates.size(); ++i) {
        if (text.empty()) {
            shown.push_back(i);
            continue;
        }
        if (candidates[i].code.find(text) != std::string::npos) shown.push_back(i);
        if (candidates[i].shortForm.find(text) != std::string::npos) shown.push_back(i);
    }
    return shown;
}
