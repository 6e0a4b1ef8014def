#include "chart/paint/indicator_pane.h"

#include "chart/paint/indicator_painters.h"
#include "chart/paint/operator_painter.h"

CIndicatorPane::CIndicatorPane() {
    painters_.push_back(std::make_unique<CVolDataPainter>());
    painters_.push_back(std::make_unique<CKdjDataPainter>());
    painters_.push_back(std::make_unique<CMacdDataPainter>());
    painters_.push_back(std::make_unique<CMaDataPainter>());
    painters_.push_back(std::make_unique<CCciDataPainter>());
    painters_.push_back(std::make_unique<CRsiDataPainter>());
    painters_.push_back(std::make_unique<CBollDataPainter>());
    painters_.push_back(std::make_unique<COpeartorPainter>());
}

void CIndicatorPane::SelectIndicator(std::string_view key) {
    CIndicatorDataPainter* chosen = nullptr;
    for (const auto& p : painters_)
        if (key == p->GetName()) chosen = p.get();  // the last match, should keys repeat
    if (chosen == nullptr) return;
    const int was = chosen->enabled;
    const int kind = chosen->GetKind();
    for (const auto& p : painters_)
        if (p->GetKind() == kind) p->enabled = 0;
    for (const auto& p : painters_)
        if (key == p->GetName()) p->enabled = kind < CIndicatorDataPainter::kSubChart ? !was : 1;
}

void CIndicatorPane::DisableIndicator(std::string_view key) {
    for (const auto& p : painters_)
        if (key == p->GetName()) p->enabled = 0;
}

int CIndicatorPane::IsIndicatorEnabled(std::string_view key) const {
    int enabled = 0;
    for (const auto& p : painters_)
        if (key == p->GetName()) enabled = p->enabled;
    return enabled;
}

void CIndicatorPane::PaintIndicators(const PaintContext& context) {
    for (const auto& p : painters_)
        if (p->enabled == 1) p->Paint(context);
}

std::string_view CIndicatorPane::EnabledKey(int kind) const {
    for (const auto& p : painters_)
        if (p->GetKind() == kind && p->enabled == 1) return p->GetName();
    return {};
}
