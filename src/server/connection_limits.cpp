#include "server/connection_limits.h"

namespace server {

ConnectionLimits::Admission ConnectionLimits::Admit(const std::string& address) {
    const std::lock_guard lock(mutex_);
    if (max_connections_ > 0 && connections_ >= max_connections_)
        return {std::nullopt, "server busy: too many connections, try again later\n"};
    int& held = per_address_[address];
    if (max_per_address_ > 0 && held >= max_per_address_)
        return {std::nullopt, "server busy: too many connections from your address\n"};
    ++held;
    ++connections_;
    return {Slot(*this, address), nullptr};
}

int ConnectionLimits::connections() const {
    const std::lock_guard lock(mutex_);
    return connections_;
}

void ConnectionLimits::Release(const std::string& address) {
    const std::lock_guard lock(mutex_);
    --connections_;
    // Addresses without connections are forgotten, so the map stays as
    // small as the set of clients connected right now.
    const auto it = per_address_.find(address);
    if (it != per_address_.end() && --it->second <= 0) per_address_.erase(it);
}

}  // namespace server
