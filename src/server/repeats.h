#pragma once
// The keys met so far in one imported file, so a record that repeats an
// earlier one (the same day twice) is reported instead of silently
// replacing it.
#include <string>
#include <unordered_set>

namespace server {

class Repeats {
public:
    // True when `key` was met before in this file.
    bool Seen(const std::string& key) { return !keys_.insert(key).second; }

private:
    std::unordered_set<std::string> keys_;
};

// "date 20240102 repeats an earlier record; the first is kept"
inline std::string RepeatedDate(int date) {
    return "date " + std::to_string(date) + " repeats an earlier record; the first is kept";
}

}  // namespace server
