#pragma once
// Hands each request thread a Replies object of its own for the duration of
// one request. Objects are created on demand and kept for reuse, so the pool
// grows to the number of threads that ever served at the same time.
#include <filesystem>
#include <memory>
#include <mutex>
#include <vector>

#include "server/replies.h"

namespace server {

class ReplyPool {
public:
    explicit ReplyPool(std::filesystem::path data_dir) : data_dir_(std::move(data_dir)) {}

    class Lease {
    public:
        Lease(ReplyPool& pool, std::unique_ptr<Replies> replies)
            : pool_(pool), replies_(std::move(replies)) {}
        ~Lease() { pool_.GiveBack(std::move(replies_)); }
        Lease(const Lease&) = delete;
        Lease& operator=(const Lease&) = delete;
        Replies& operator*() const { return *replies_; }
        Replies* operator->() const { return replies_.get(); }

    private:
        ReplyPool& pool_;
        std::unique_ptr<Replies> replies_;
    };

    Lease Borrow();

private:
    void GiveBack(std::unique_ptr<Replies> replies);

    const std::filesystem::path data_dir_;
    std::mutex mutex_;
    std::vector<std::unique_ptr<Replies>> idle_;
};

}  // namespace server
