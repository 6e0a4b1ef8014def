#pragma once
// ChartWidget: chart mode of the view. It paints the chart (CChart, the
// same code korvel-cli draws PNGs with) as one image, follows the mouse with
// the cross-hair (which stays where it was when the mouse leaves), and turns
// keys and the wheel into navigation:
//   Left / Right      one bar per key repeat, ten with Ctrl
//   Up / Down         zoom in / out
//   Page Up / Down, wheel forward / backward   previous / next stock
//   Enter, double-click                        back to the watch list
// Keys it does not use (digits and letters for the quick code search) go on
// to the parent.
#include <QWidget>

#include <string>

#include "chart/paint/chart.h"

class ChartWidget : public QWidget {
    Q_OBJECT
public:
    explicit ChartWidget(const CDataCenter& dc, QWidget* parent = nullptr);

    CChart& Chart() { return chart_; }
    const CChart& Chart() const { return chart_; }

    // An indicator from the menu or the quick code search ("MA", "VOL", ...).
    void SelectIndicator(const std::string& key);
    // "操盘信号": the trade marks on, whatever they were.
    void ShowMarks();
    bool IsIndicatorEnabled(const std::string& key) const;

    // Toolbar "放大", "缩小", "左移", "右移".
    void ZoomIn();
    void ZoomOut();
    void ShiftLeft();
    void ShiftRight();
    // After another stock was opened: its newest bars at the right, the zoom kept.
    void ShowNewest();

signals:
    void previousStockRequested();
    void nextStockRequested();
    void listRequested();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    CChart chart_;
};
