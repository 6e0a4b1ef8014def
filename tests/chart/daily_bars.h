#pragma once
// Bundled daily bars (data/daily/<MARKET>_<CODE>.csv) read as the series the
// generators take: the newest `count` bars, oldest first, as floats.
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

#include "chart/indicator_generator.h"
#include "text/parse.h"

struct DailyBars {
    Series close, high, low, volume;

    IndicatorInput Input() const { return {close, high, low, volume}; }
    size_t size() const { return close.size(); }
};

inline DailyBars LoadDailyBars(const std::string& name, size_t count = 1200) {
    const std::string path = std::string(KORVEL_SOURCE_DIR) + "/data/daily/" + name + ".csv";
    std::ifstream file(path);
    if (!file) throw std::runtime_error("cannot open " + path);
    DailyBars all;
    std::string line;
    std::getline(file, line);  // header: date,open,high,low,close,volume
    while (std::getline(file, line)) {
        std::istringstream fields(line);
        std::string f[6];  // date, open, high, low, close, volume
        for (std::string& field : f) std::getline(fields, field, ',');
        all.high.push_back(static_cast<float>(text::ParseReal(f[2])));
        all.low.push_back(static_cast<float>(text::ParseReal(f[3])));
        all.close.push_back(static_cast<float>(text::ParseReal(f[4])));
        all.volume.push_back(static_cast<float>(text::ParseReal(f[5])));
    }
    const size_t skip = all.size() > count ? all.size() - count : 0;
    const auto tail = [skip](const Series& s) { return Series(s.begin() + skip, s.end()); };
    return {tail(all.close), tail(all.high), tail(all.low), tail(all.volume)};
}

// Bars whose close, high, low and volume all equal the given closes.
inline DailyBars FlatBars(const Series& close) {
    return {close, close, close, close};
}
