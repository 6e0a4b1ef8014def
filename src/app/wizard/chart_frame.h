#pragma once
// A framed area whose contents a page paints with a function of its own
// (the wizard's preview and progress charts).
#include <functional>

#include <QFrame>

class QPainter;

class ChartFrame : public QFrame {
    Q_OBJECT
public:
    using Painter = std::function<void(QPainter& painter, const QRect& area)>;
    explicit ChartFrame(Painter paint, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Painter paint_;
};
