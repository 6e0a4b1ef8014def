#pragma once
// Rendered replies kept for reuse, keyed by what determines them (endpoint
// and parameters), within a byte budget: the least recently used reply goes
// first. Every reply is dropped as soon as the database changes. The
// importers are other processes, so each lookup asks SQLite whether anything
// was committed since the previous one ("PRAGMA data_version" on a
// connection of the cache's own: a look at the WAL index, a few
// microseconds).
//
// A reply built for the cache must read the database after the Find that
// missed: its data is then at least as new as the generation Find returned,
// and Add refuses it when the data has changed again since.
//
// Thread-safety: Find and Add may be called from any thread; one mutex
// guards the entries and the cache's connection.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>

#include "server/checked_sql.h"

namespace server {

class ReplyCache {
public:
    using Body = std::shared_ptr<const std::string>;

    struct Lookup {
        Body body;                // the cached reply; null on a miss
        uint64_t generation = 0;  // the data's generation, for Add
    };

    // Opens its own connection to the existing database of `data_dir`.
    // A capacity of 0 keeps nothing and never reads the database.
    ReplyCache(const std::filesystem::path& data_dir, size_t capacity_bytes);

    Lookup Find(const std::string& key);
    // Keeps `body` under `key` unless the data has changed since the Find
    // that returned `generation`, or the body alone exceeds the capacity.
    void Add(const std::string& key, uint64_t generation, Body body);

    size_t capacity() const { return capacity_; }
    size_t bytes() const;  // held now: bodies and keys

private:
    struct Entry {
        std::string key;
        Body body;
        size_t Bytes() const { return key.size() + body->size(); }
    };

    // Drops everything when the database has changed since the last check.
    void CheckForChanges();
    void Drop(std::list<Entry>::iterator entry);

    const size_t capacity_;
    mutable std::mutex mutex_;
    Database db_;
    Statement data_version_;
    int64_t last_version_ = -1;
    uint64_t generation_ = 0;
    std::list<Entry> entries_;  // most recently used first
    std::unordered_map<std::string_view, std::list<Entry>::iterator> index_;  // by Entry::key
    size_t bytes_ = 0;
};

}  // namespace server
