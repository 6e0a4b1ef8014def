#pragma once
// CCrossPane: the cross-hair. Its update turns the stored cross-hair point
// into the cursor bar (and works out the bar pitch for everyone else); its
// paint draws the two lines with the date and price labels.
#include "chart/paint/paint_context.h"

class CCrossPane {
public:
    // For a stock of `bars` bars: the shown count, pitch, gap and cursor
    // bar, and the point snapped to the cursor bar's centre. Nothing
    // changes without bars.
    void Update(CScreenSet& screen, int bars);
    // Call with the data lock held, after everything else is drawn.
    void Paint(const PaintContext& context);
};
