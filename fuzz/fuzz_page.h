#pragma once
// The page fetch of the client's sync, replaced for fuzzing: every request
// gets the reply `Page` gives for its URL (usually the fuzz input), with no
// network in between. Defining GetHtml here keeps the real one (libcurl) out
// of the target, so the sync code runs unchanged on the input.
#include <functional>
#include <string>

#include "sync/page_fetch.h"

namespace fuzz {
inline std::function<std::string(const std::string& url)> Page;
}  // namespace fuzz

std::string GetHtml(const std::string& url, const FetchLimits&) { return fuzz::Page(url); }
