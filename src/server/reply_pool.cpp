#include "server/reply_pool.h"

namespace server {

ReplyPool::Lease ReplyPool::Borrow() {
    {
        const std::lock_guard lock(mutex_);
        if (!idle_.empty()) {
            std::unique_ptr<Replies> replies = std::move(idle_.back());
            idle_.pop_back();
            return Lease(*this, std::move(replies));
        }
    }
    return Lease(*this, std::make_unique<Replies>(data_dir_));
}

void ReplyPool::GiveBack(std::unique_ptr<Replies> replies) {
    if (!replies) return;
    const std::lock_guard lock(mutex_);
    idle_.push_back(std::move(replies));
}

}  // namespace server
