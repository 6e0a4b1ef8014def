#include "chart/paint/mark_images.h"

#include <initializer_list>

namespace {

constexpr QRgb kBuy = 0xFFFF0000;
constexpr QRgb kSell = 0xFF00FF00;
constexpr QRgb kBlack = 0xFF000000;

// One string per row, '#' for a lit pixel.
QImage Draw(std::initializer_list<const char*> rows, QRgb colour) {
    const int width = static_cast<int>(std::char_traits<char>::length(*rows.begin()));
    QImage image(width, static_cast<int>(rows.size()), QImage::Format_ARGB32);
    int y = 0;
    for (const char* row : rows) {
        for (int x = 0; x < width; ++x) image.setPixel(x, y, row[x] == '#' ? colour : kBlack);
        ++y;
    }
    return image;
}

}  // namespace

const QImage& BuyMark(bool large) {
    static const QImage small = Draw({"##.", "#.#", "##.", "#.#", "##."}, kBuy);
    static const QImage big = Draw({"####.", "#...#", "#...#", "#...#", "####.",
                                    "#...#", "#...#", "#...#", "#...#", "####."}, kBuy);
    return large ? big : small;
}

const QImage& SellMark(bool large) {
    static const QImage small = Draw({".##", "#..", ".#.", "..#", "##."}, kSell);
    static const QImage big = Draw({".###.", "#...#", "#....", "#....", ".###.",
                                    "....#", "....#", "....#", "#...#", ".###."}, kSell);
    return large ? big : small;
}
