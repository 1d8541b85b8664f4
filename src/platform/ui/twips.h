// Positions and sizes in twips, the unit of the stored layouts: 15 twips to a pixel.
#pragma once

#include <QtGlobal>

namespace vx::ui {

inline constexpr int kTwipsPerPixel = 15;

inline int TwipsToPixels(double twips) { return qRound(twips / kTwipsPerPixel); }
inline double PixelsToTwips(int pixels) { return double(pixels) * kTwipsPerPixel; }

}  // namespace vx::ui
