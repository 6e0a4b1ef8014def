#pragma once
// The charts of the wizard's pages, drawn with QPainter into a given area:
// the preview of the time-range page and the two progress charts of the
// generation page. They draw only from the data handed in, so a page that
// repaints at any moment draws one consistent state.
#include <cstdint>
#include <vector>

#include <QHash>
#include <QImage>
#include <QString>

#include "strategy/range_figures.h"

class QPainter;
class QRect;

// The adjusted closes of the verification range as a line, the years where
// they change, the range shaded by two translucent fills.
void PaintRangePreview(QPainter& painter, const QRect& area, const RangeFigures& range);

// What the generation page shows, copied from the run parameters while the
// run waits for the page (after each generation and at the end).
struct RunPicture {
    bool generating = false;
    uint32_t stallCount = 0;          // the current search depth
    std::vector<float> winRates;      // one per generation so far
    std::vector<TradeLogEntry> trades;
    RangeFigures range;               // closes and the accumulated profit over the range
    uint64_t chartVersion = 0;        // changes with `trades` and `range`
    uint64_t rangeVersion = 0;        // changes with the bars of `range`
    QString stock;                    // code and display name
};

// The status line: the stock, then "正在搜索策略[ %d ] 当前搜索深度[ %d ]"
// during a run or "生成完毕 - 共优选[ %d ]轮" after one (nothing before the
// first generation), then a blank.
QString StatusTextOf(const RunPicture& picture);
// The part after the stock: the run's progress or its end.
QString StatusPhraseOf(const RunPicture& picture);

// Texts drawn once and copied afterwards: the page repaints after every
// generation, and laying out and drawing Chinese text costs more than the
// rest of a repaint. A text is drawn as its words, each kept as an image,
// and its numbers, character by character, so a text whose numbers change
// every time is still copied from images drawn before. The images take the
// painter's font and pen colour of their first drawing.
class TextCache {
public:
    // Draws `text` with its top-left corner at `at`; returns its width.
    qreal Draw(QPainter& painter, const QPointF& at, const QString& text);

private:
    qreal DrawPiece(QPainter& painter, const QPointF& at, const QString& piece);

    struct Piece {
        QImage image;
        qreal width;
    };
    QHash<QString, Piece> pieces_;
};

// "区间涨跌: %.2f%%", "累计盈利: %.2f%%", "复利盈利: %.2f%%" of the upper
// chart and "策略胜率: %.2f%%" of the lower one.
struct RunLabels {
    QString rangeChange;
    QString accumulated;
    QString compound;
    QString winRate;
};
RunLabels LabelsOf(const RunPicture& picture);

// The background of the upper chart, which stays for a whole run: the
// closes of the range with the years.
void PaintUpperBackground(QPainter& painter, const QRect& area, const RunPicture& picture);
// The rest of the upper chart over that background: the buy and sell
// points, the accumulated profit and the three labels of the range.
void PaintUpperChart(QPainter& painter, const QRect& area, const RunPicture& picture, TextCache& texts);
// The lower chart: the win rates with their label.
void PaintLowerChart(QPainter& painter, const QRect& area, const RunPicture& picture, TextCache& texts);
// A text of the status line in `area`, its pieces from `texts`.
void PaintStatusText(QPainter& painter, const QRect& area, const QString& text, TextCache& texts);
