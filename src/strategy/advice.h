#pragma once
// The current advice of a strategy from its per-bar signals: what the change
// between the two newest bars' signals asks for on the next trading day.
// Advice texts are GBK, as stored in SECRET.INDI: "买入" buy, "卖出" sell,
// "持有" hold, "观望" wait, or empty.
#include <cstdint>
#include <string>
#include <vector>

#include "datastore/data_center.h"

// Empty unless there are at least two signals and exactly one per date.
// Otherwise, with p the second newest and l the newest signal: p != l gives
// sell when p is non-zero, buy when p is 0; p == l gives hold when p is
// non-zero, wait when p is 0.
std::string CurrentAdvice(const std::vector<int32_t>& barSignals, const std::vector<int32_t>& dates);

// The same for the current stock, read under the data lock.
std::string CurrentAdvice(const CDataCenter& dc);

// The action letter of a bar from its signal and the previous bar's (-1
// before the first bar): 'h' hold (1 after 1), 'b' buy (1 after anything
// else), 'w' wait (0 after 0), 's' sell (0 after anything else); '-' for
// any other signal value.
char ActionLetter(int32_t signal, int32_t previous);
