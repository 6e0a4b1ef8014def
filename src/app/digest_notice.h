#pragma once
// CDigestNotice: the evening digest in the main window. When the start
// page's 数据同步 changed the advice of watched stocks, this small panel at
// the main window's side lists them (code, name, before -> after, newest
// close, change %; 买入 and 卖出 first, as the digest orders them); a click
// on a row opens that stock's chart. It does not block the window and
// closes with its title bar's button.
#include <functional>
#include <string>
#include <vector>

#include <QDockWidget>

#include "strategy/advice_digest.h"

class QTableWidget;

class CDigestNotice : public QDockWidget {
    Q_OBJECT
public:
    // Receives the market and code (GBK) of the row clicked.
    using Opener = std::function<void(const std::string& market, const std::string& code)>;

    CDigestNotice(const std::vector<DigestRow>& rows, Opener open, QWidget* parent = nullptr);

    QTableWidget* Table() const { return table_; }

private:
    QTableWidget* table_;
};
