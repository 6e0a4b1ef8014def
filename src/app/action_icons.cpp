#include "app/action_icons.h"

#include <QAction>
#include <QIcon>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <cmath>
#include <functional>

#include "app/frame_actions.h"

namespace {

constexpr int kSize = 24;
const QColor kIconRed(200, 30, 30);
const QColor kIconGreen(20, 140, 60);
const QColor kBlue(30, 90, 180);
const QColor kGrey(90, 90, 90);

using Drawing = std::function<void(QPainter&)>;

QIcon Draw(const Drawing& draw) {
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    draw(painter);
    return QIcon(pixmap);
}

QPen Pen(const QColor& colour, qreal width = 2) { return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin); }

void Glyph(QPainter& p, const QColor& colour, const QString& text) {
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawRoundedRect(QRectF(2, 2, 20, 20), 4, 4);
    p.setPen(Qt::white);
    QFont font(QStringLiteral("黑体"));
    font.setPixelSize(15);
    font.setBold(true);
    p.setFont(font);
    p.drawText(QRectF(2, 2, 20, 20), Qt::AlignCenter, text);
}

void Magnifier(QPainter& p, bool plus) {
    p.setPen(Pen(kBlue, 2.5));
    p.setBrush(QColor(220, 235, 255));
    p.drawEllipse(QRectF(3, 3, 13, 13));
    p.drawLine(QPointF(14.5, 14.5), QPointF(21, 21));
    p.setPen(Pen(kBlue, 2));
    p.drawLine(QPointF(6.5, 9.5), QPointF(12.5, 9.5));
    if (plus) p.drawLine(QPointF(9.5, 6.5), QPointF(9.5, 12.5));
}

// A filled arrow pointing along (dx, dy), one of the four directions.
void Arrow(QPainter& p, const QColor& colour, int dx, int dy) {
    QPainterPath path;
    const QPointF c(12, 12);
    const QPointF along(dx, dy), across(-dy, dx);
    path.moveTo(c + along * 9);
    path.lineTo(c + across * 8);
    path.lineTo(c + across * 3.5);
    path.lineTo(c - along * 9 + across * 3.5);
    path.lineTo(c - along * 9 - across * 3.5);
    path.lineTo(c - across * 3.5);
    path.lineTo(c - across * 8);
    path.closeSubpath();
    p.setPen(Pen(colour.darker(130), 1));
    p.setBrush(colour);
    p.drawPath(path);
}

void Document(QPainter& p) {
    p.setPen(Pen(kGrey, 1.5));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(5, 2.5, 14, 19));
    p.setPen(Pen(kBlue, 1.5));
    for (qreal y = 7; y <= 17; y += 3.5) p.drawLine(QPointF(8, y), QPointF(16, y));
}

void Candles(QPainter& p) {
    const struct {
        qreal x, top, bottom, open, close;
        bool up;
    } candles[] = {{5, 8, 20, 11, 17, false}, {12, 4, 16, 6, 13, true}, {19, 2, 12, 3, 9, true}};
    for (const auto& c : candles) {
        const QColor colour = c.up ? kIconRed : kIconGreen;
        p.setPen(Pen(colour, 1.2));
        p.drawLine(QPointF(c.x, c.top), QPointF(c.x, c.bottom));
        p.setBrush(colour);
        p.drawRect(QRectF(c.x - 2.5, c.open, 5, c.close - c.open));
    }
}

void Star(QPainter& p, const QColor& colour) {
    QPainterPath star;
    for (int i = 0; i < 10; ++i) {
        const qreal r = i % 2 == 0 ? 10 : 4.2;
        const qreal angle = -M_PI / 2 + i * M_PI / 5;
        const QPointF point(12 + r * std::cos(angle), 12.5 + r * std::sin(angle));
        if (i == 0) star.moveTo(point);
        else star.lineTo(point);
    }
    star.closeSubpath();
    p.setPen(Pen(colour.darker(140), 1));
    p.setBrush(colour);
    p.drawPath(star);
}

void Power(QPainter& p) {
    p.setPen(Pen(kIconRed, 2.5));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(4, 5, 16, 16), 120 * 16, 300 * 16);
    p.drawLine(QPointF(12, 2.5), QPointF(12, 12));
}

void Bubble(QPainter& p) {
    QPainterPath bubble;
    bubble.addRoundedRect(QRectF(2, 3, 20, 14), 4, 4);
    bubble.moveTo(7, 16);
    bubble.lineTo(6, 22);
    bubble.lineTo(12, 16.5);
    p.setPen(Pen(kIconGreen.darker(120), 1.2));
    p.setBrush(QColor(200, 240, 200));
    p.drawPath(bubble.simplified());
    p.setPen(Pen(kIconGreen, 1.5));
    p.drawLine(QPointF(6, 8), QPointF(18, 8));
    p.drawLine(QPointF(6, 12), QPointF(15, 12));
}

void BoxArrow(QPainter& p, bool out) {
    p.setPen(Pen(kGrey, 1.5));
    p.setBrush(QColor(245, 230, 180));
    p.drawRect(QRectF(3, 11, 18, 10));
    Arrow(p, kBlue, 0, out ? -1 : 1);
}

void Gear(QPainter& p) {
    p.setPen(Pen(kGrey, 3));
    for (int i = 0; i < 8; ++i) {
        const qreal angle = i * M_PI / 4;
        p.drawLine(QPointF(12 + 6 * std::cos(angle), 12 + 6 * std::sin(angle)),
                   QPointF(12 + 10 * std::cos(angle), 12 + 10 * std::sin(angle)));
    }
    p.setPen(Pen(kGrey, 1));
    p.setBrush(QColor(200, 200, 200));
    p.drawEllipse(QPointF(12, 12), 7, 7);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(12, 12), 3, 3);
}

void TradeMarks(QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(kIconRed);
    p.drawPolygon(QPolygonF({QPointF(6, 10), QPointF(1, 20), QPointF(11, 20)}));
    p.setBrush(kIconGreen);
    p.drawPolygon(QPolygonF({QPointF(18, 14), QPointF(13, 4), QPointF(23, 4)}));
}

}  // namespace

void AssignIcons(FrameActions& a) {
    a.generateStrategy->setIcon(Draw([](QPainter& p) {
        Candles(p);
        p.scale(0.55, 0.55);
        p.translate(0, 20);
        Star(p, QColor(250, 200, 0));
    }));
    a.strategyReport->setIcon(Draw(Document));
    a.zoomIn->setIcon(Draw([](QPainter& p) { Magnifier(p, true); }));
    a.zoomOut->setIcon(Draw([](QPainter& p) { Magnifier(p, false); }));
    a.shiftLeft->setIcon(Draw([](QPainter& p) { Arrow(p, kBlue, -1, 0); }));
    a.shiftRight->setIcon(Draw([](QPainter& p) { Arrow(p, kBlue, 1, 0); }));
    a.previousStock->setIcon(Draw([](QPainter& p) { Arrow(p, kIconRed, 0, -1); }));
    a.nextStock->setIcon(Draw([](QPainter& p) { Arrow(p, kIconGreen, 0, 1); }));
    a.adjustPrices->setIcon(Draw([](QPainter& p) { Glyph(p, QColor(180, 90, 0), QStringLiteral("复")); }));
    a.quickStart->setIcon(Draw([](QPainter& p) { Glyph(p, kBlue, QStringLiteral("?")); }));
    a.feedback->setIcon(Draw(Bubble));
    a.exit->setIcon(Draw(Power));
    a.about->setIcon(Draw([](QPainter& p) { Glyph(p, kGrey, QStringLiteral("i")); }));
    a.settings->setIcon(Draw(Gear));
    a.addToWatchList->setIcon(Draw([](QPainter& p) { Star(p, QColor(250, 200, 0)); }));
    a.dataCleanup->setIcon(Draw([](QPainter& p) { Glyph(p, kIconRed, QStringLiteral("清")); }));
    a.exportStrategies->setIcon(Draw([](QPainter& p) { BoxArrow(p, true); }));
    a.importStrategies->setIcon(Draw([](QPainter& p) { BoxArrow(p, false); }));
    a.tradeSignals->setIcon(Draw(TradeMarks));
}

QIcon ProgramIcon() { return Draw(Candles); }
