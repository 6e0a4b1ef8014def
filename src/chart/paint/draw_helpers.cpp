#include "chart/paint/draw_helpers.h"

#include <QFontMetrics>

#include <cmath>
#include <cstdarg>

#include "text/format.h"

QFont ChartFont() {
    QFont font(QString::fromUtf8("宋体"));
    font.setPixelSize(12);
    font.setWeight(QFont::Normal);
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

QPen DottedPen(QRgb colour) {
    QPen pen{QColor::fromRgba(colour)};
    pen.setWidth(1);
    pen.setDashPattern({1.0, 1.0});
    return pen;
}

int Px(float v) {
    constexpr float kFar = 1e6f;
    if (!(v > -kFar)) return -static_cast<int>(kFar);  // also NaN
    if (v > kFar) return static_cast<int>(kFar);
    return static_cast<int>(std::floor(v + 0.5f));
}

QString FormatText(const char* format, ...) {
    va_list args;
    va_start(args, format);
    const std::string out = text::FormatV(format, args);
    va_end(args);
    return QString::fromLatin1(out.data(), static_cast<qsizetype>(out.size()));
}

void DrawBoxText(QPainter& painter, const QRect& box, int align, const QString& text, QRgb colour) {
    painter.setPen(QColor::fromRgba(colour));
    painter.drawText(box, align | Qt::AlignVCenter, text);
}

void DrawVerticalText(QPainter& painter, QPoint topLeft, const QString& text, QRgb colour) {
    painter.setPen(QColor::fromRgba(colour));
    const QFontMetrics metrics(painter.font());
    const int cell = metrics.height();
    int y = topLeft.y();
    for (const QChar c : text) {
        const QString glyph(c);
        if (c.unicode() >= 0x2E80) {  // CJK: upright
            const int width = metrics.horizontalAdvance(glyph);
            painter.drawText(topLeft.x() + (cell - width) / 2, y + metrics.ascent(), glyph);
            y += width;
        } else {
            const int advance = metrics.horizontalAdvance(glyph);
            painter.save();
            painter.translate(topLeft.x() + metrics.descent(), y);  // ascent points right
            painter.rotate(90);
            painter.drawText(0, 0, glyph);
            painter.restore();
            y += advance;
        }
    }
}
