#include "chart/paint/operator_painter.h"

#include "chart/paint/draw_helpers.h"
#include "chart/paint/mark_images.h"
#include "strategy/advice.h"

namespace {

// Pitches below this use the small letters.
constexpr float kLargeMarkPitch = 5;
constexpr int kMarkGap = 2;
constexpr int kAdviceDrop = 20;

}  // namespace

void BuildActionLetters(const std::vector<int32_t>& barSignals, size_t bars, std::string& letters) {
    letters.assign(1, ' ');
    int32_t previous = -1;
    for (size_t i = 0; i < bars; ++i) {
        letters += ActionLetter(barSignals[i], previous);
        previous = barSignals[i];
    }
}

AdviceWord AdviceWordFor(char letter) {
    switch (letter) {
        case 'b': return {"买入", 0xFFFF0000};
        case 'h': return {"持有", 0xFFFFFF00};
        case 's': return {"卖出", 0xFF008000};
        default: return {"观望", 0xFFFFFF00};
    }
}

void COpeartorPainter::Paint(const PaintContext& context) {
    const size_t n = static_cast<size_t>(context.bars);
    const std::vector<int32_t>& barSignals = context.dc.Signals();
    if (n == 0 || barSignals.size() < n) return;
    const CScreenSet& s = context.screen;
    const PriceSeries& bars = context.dc.Displayed();
    BuildActionLetters(barSignals, n, letters_);

    const bool large = !(s.pitch < kLargeMarkPitch);
    const QImage& buy = BuyMark(large);
    const QImage& sell = SellMark(large);
    const float plotX = static_cast<float>(s.mainPlot.x());
    for (int k = 0; k < s.shownCount; ++k) {
        const int i = s.firstVisible + k;
        const char letter = letters_[static_cast<size_t>(i)];
        if (letter != 's' && letter != 'b') continue;
        const QImage& mark = letter == 's' ? sell : buy;
        const int x = Px(plotX + (k + 1) * s.pitch - (mark.width() + s.pitch) / 2);
        const int y = letter == 's' ? Px(context.price.Y(bars.high[i])) - kMarkGap - mark.height()
                                    : Px(context.price.Y(bars.low[i])) + kMarkGap;
        context.painter.drawImage(x, y, mark);
    }

    // Beside the newest bar, even when it is scrolled out of view.
    const int x = Px(plotX + (static_cast<float>(n) - static_cast<float>(s.firstVisible)) * s.pitch);
    const int y = Px(context.price.Y(bars.high[n - 1]));
    const AdviceWord word = AdviceWordFor(letters_.back());
    context.painter.setFont(s.font);
    DrawVerticalText(context.painter, QPoint(x, y), QString::fromUtf8("<─ "), 0xFFFFFFFF);
    DrawVerticalText(context.painter, QPoint(x, y + kAdviceDrop), QString::fromUtf8(word.text), word.colour);
}
