#pragma once
// The bodies of the five replies, built straight from the database in one
// pass. One Replies object is one connection with its prepared statements
// and a reply buffer; it is used by one thread at a time (see ReplyPool). A
// reply stays valid until the next reply of the same object.
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "server/checked_sql.h"

namespace server {

struct ServerDates {
    int64_t update = 0;          // newest bar date held, 0 when none
    int64_t cleanto = 0;         // the client's cleanup cut date
    bool cleanto_fixed = false;  // set by the cleanto setting, not derived
};

class Replies {
public:
    explicit Replies(const std::filesystem::path& data_dir);

    // update, and cleanto: the cleanto setting when it is a positive date,
    // otherwise five trading days before update (the oldest date held when
    // fewer days are held; 0 with no bars).
    ServerDates Dates();

    // login.php: server dates, news and hosts. `own_host` is the address the
    // default host entry offers when no hosts are configured.
    std::string_view Login(std::string_view own_host);
    // code.php: every stock record stamped later than `after`.
    std::string_view Codes(int after);
    // daily.php / divid.php: one stock's records dated first..last, oldest first.
    std::string_view Daily(std::string_view market, std::string_view code, int first, int last);
    std::string_view Dividends(std::string_view market, std::string_view code, int first, int last);
    // pool.php: caption, info and entries of one model (empty when unknown).
    std::string_view Pool(std::string_view model);

private:
    std::string buffer_;
    Database db_;
    Statement newest_date_;
    Statement cut_date_;
    Statement cleanto_setting_;
    Statement news_;
    Statement hosts_;
    Statement stocks_after_;
    Statement daily_;
    Statement dividends_;
    Statement pool_model_;
    Statement pool_entries_;
};

}  // namespace server
