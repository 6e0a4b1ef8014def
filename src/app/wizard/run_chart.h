#pragma once
// The generation page's status line and charts in one frame: the status on
// top, the upper chart over two thirds of the rest, the win rates below.
// The page repaints it after every generation while the run waits, so a
// repaint must cost little next to a generation: the frame paints every
// pixel itself (nothing behind it is painted), the upper chart is kept as an
// image, drawn again only when the best strategy changes (its background of
// closes only when the range does), and the texts are laid out once
// (TextCache).
#include <cstdint>

#include <QImage>
#include <QWidget>

#include "app/wizard/wizard_charts.h"

class RunChart : public QWidget {
    Q_OBJECT
public:
    // Paints `picture`, which the page keeps up to date.
    explicit RunChart(const RunPicture& picture, QWidget* parent = nullptr);

    // Repaints at once what a generation changed in the picture: the status
    // line and the win rates, and the upper chart when the best strategy
    // changed.
    void RepaintGeneration();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    struct Areas {
        QRect status;
        QRect stock;   // the start of the status line, the same for a whole run
        QRect phrase;  // the rest, which every generation changes
        QRect upper;
        QRect lower;
    };
    Areas Layout() const;
    // Brings the upper chart's images up to `size` and the picture.
    void UpdateUpper(const QSize& size);

    const RunPicture& picture_;
    QImage background_;
    QImage upper_;
    uint64_t backgroundVersion_ = 0;
    uint64_t upperVersion_ = 0;
    TextCache texts_;
};
