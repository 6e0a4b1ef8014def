#pragma once
// One fitness case of the engine.
#include <cstdint>
#include <vector>

namespace GEP {

template <class In = double, class Out = double>
struct TrainingRecord {
    std::vector<In> inputs;  // one value per terminal
    Out target{};            // expected output; 0.0 for trading records
    int32_t date = 0;        // trading records: date (yyyymmdd) of the following bar
    float price = 0.0f;      // trading records: price of the following bar
    int32_t last = 0;        // trading records: 1 on the final record of the range
};

}  // namespace GEP
