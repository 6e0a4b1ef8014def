#pragma once
// How many connections the server holds at once, in all and per client
// address. A connection is admitted with a Slot, which gives its place back
// when destroyed; a connection beyond either limit gets no slot and is
// refused. Thread-safe.
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <utility>

namespace server {

class ConnectionLimits {
public:
    // 0 for either limit: no limit of that kind.
    ConnectionLimits(int max_connections, int max_per_address)
        : max_connections_(max_connections), max_per_address_(max_per_address) {}
    ConnectionLimits(const ConnectionLimits&) = delete;
    ConnectionLimits& operator=(const ConnectionLimits&) = delete;

    class Slot {
    public:
        Slot(ConnectionLimits& limits, std::string address)
            : limits_(&limits), address_(std::move(address)) {}
        Slot(Slot&& other) noexcept
            : limits_(std::exchange(other.limits_, nullptr)), address_(std::move(other.address_)) {}
        Slot& operator=(Slot&&) = delete;
        Slot(const Slot&) = delete;
        ~Slot() {
            if (limits_) limits_->Release(address_);
        }

    private:
        ConnectionLimits* limits_;
        std::string address_;
    };

    struct Admission {
        std::optional<Slot> slot;      // set when admitted
        const char* refusal = nullptr;  // otherwise why not, for the client
    };
    // A slot for a new connection from `address`, unless the server or that
    // address already holds as many as allowed.
    Admission Admit(const std::string& address);
    int connections() const;

private:
    void Release(const std::string& address);

    const int max_connections_;
    const int max_per_address_;
    mutable std::mutex mutex_;
    int connections_ = 0;
    std::map<std::string, int> per_address_;
};

}  // namespace server
