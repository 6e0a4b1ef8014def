#pragma once
// The trade-mark letters: a red "B" and a green "S" on black, 3 x 5 pixels
// for narrow bars and 5 x 10 pixels otherwise. Drawn from the patterns in
// mark_images.cpp once, on first use.
#include <QImage>

const QImage& BuyMark(bool large);
const QImage& SellMark(bool large);
