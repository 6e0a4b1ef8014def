#pragma once
// The chart-mode widget until the K-line chart takes its place: it shows
// the current stock's name and newest bar as text and offers what the view
// asks of the chart (the visible window of bars, zoom and shift, indicator
// choice), and asks the view for what the chart's keys and clicks do.
#include <QWidget>

#include <set>

class CDataCenter;
class CKorvelView;

class ChartPlaceholder : public QWidget {
    Q_OBJECT
public:
    ChartPlaceholder(CKorvelView& view, const CDataCenter& dc, QWidget* parent);

    // The window of bars: its first bar and the number of bar slots.
    int FirstVisibleBar() const { return firstVisible_; }
    void SetFirstVisibleBar(int first) { firstVisible_ = first; }
    int RequestedBarCount() const { return requested_; }

    void ZoomIn() {}
    void ZoomOut() {}
    void ShiftLeft() {}
    void ShiftRight() {}
    void SelectIndicator(const QString& key) { enabled_.insert(key); }
    bool IsIndicatorEnabled(const QString& key) const { return enabled_.count(key) != 0; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    QString NewestBarText() const;

    CKorvelView& view_;
    const CDataCenter& dc_;
    int firstVisible_ = 0;
    int requested_ = 100;
    std::set<QString> enabled_;
};
