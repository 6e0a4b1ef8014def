#include "server/reply_cache.h"

#include "server/server_database.h"

namespace server {

ReplyCache::ReplyCache(const std::filesystem::path& data_dir, size_t capacity_bytes)
    : capacity_(capacity_bytes),
      db_(OpenServerDatabaseToRead(data_dir)),
      data_version_(Prepare(db_, "PRAGMA data_version")) {}

ReplyCache::Lookup ReplyCache::Find(const std::string& key) {
    if (capacity_ == 0) return {};
    const std::lock_guard lock(mutex_);
    CheckForChanges();
    const auto found = index_.find(key);
    if (found == index_.end()) return {nullptr, generation_};
    entries_.splice(entries_.begin(), entries_, found->second);
    return {found->second->body, generation_};
}

void ReplyCache::Add(const std::string& key, uint64_t generation, Body body) {
    if (key.size() + body->size() > capacity_) return;
    const std::lock_guard lock(mutex_);
    if (generation != generation_ || index_.contains(key)) return;
    entries_.push_front(Entry{key, std::move(body)});
    index_.emplace(entries_.front().key, entries_.begin());
    bytes_ += entries_.front().Bytes();
    while (bytes_ > capacity_) Drop(std::prev(entries_.end()));
}

size_t ReplyCache::bytes() const {
    const std::lock_guard lock(mutex_);
    return bytes_;
}

void ReplyCache::CheckForChanges() {
    // The value changes whenever another connection commits; its own
    // connection never writes.
    const int64_t version = SingleInt(data_version_);
    if (version == last_version_) return;
    last_version_ = version;
    ++generation_;
    index_.clear();
    entries_.clear();
    bytes_ = 0;
}

void ReplyCache::Drop(std::list<Entry>::iterator entry) {
    bytes_ -= entry->Bytes();
    index_.erase(entry->key);
    entries_.erase(entry);
}

}  // namespace server
