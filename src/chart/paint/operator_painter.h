#pragma once
// COpeartorPainter: the stored strategy's trade marks. On every bar where
// the strategy changes position it draws a buy letter below the bar or a
// sell letter above it, and beside the newest bar it writes the current
// advice. A change decided at one bar's close is marked on the next bar,
// the day the trade is made.
#include <cstdint>
#include <string>
#include <vector>

#include <QColor>

#include "chart/paint/indicator_painter.h"

class COpeartorPainter final : public CIndicatorDataPainter {
public:
    const char* GetName() const override { return "BS"; }
    int GetKind() const override { return kMarks; }
    void Paint(const PaintContext& context) override;

private:
    std::string letters_;  // scratch, rebuilt on every paint
};

// The action letters of the signals after one leading blank, so that
// position i holds the letter of bar i - 1: "b", "s", "h" or "w" per bar.
void BuildActionLetters(const std::vector<int32_t>& barSignals, size_t bars, std::string& letters);

// The advice word (UTF-8) and its colour for a bar's action letter.
struct AdviceWord {
    const char* text;
    QRgb colour;
};
AdviceWord AdviceWordFor(char letter);
