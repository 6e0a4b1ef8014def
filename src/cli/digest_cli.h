#pragma once
// Printing the evening digest, shared by `digest` and `sync --digest`.
#include <vector>

#include "strategy/advice_digest.h"

namespace cli {

// The rows as a tab-separated table under the header "代码 名称 操盘信号 收盘
// 涨幅%", UTF-8; "no changes" when there is none.
void PrintDigest(const std::vector<DigestRow>& rows);

}  // namespace cli
