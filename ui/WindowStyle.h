#pragma once

#include <QColor>
#include <QFont>

// How both windows look under any desktop: their controls stand at fixed pixel positions,
// so the style, its metrics and the fonts are fixed in pixels too.
namespace ui {

// Font heights in pixels, like every position and size of the windows: 8 points for a
// window and 7 points inside the editor's groups and its status bar, as a 96-dpi screen
// draws them. Sized in points, the text would grow on a screen of higher resolution while
// the fixed fields and labels keep their size, and the labels would be cut off.
inline constexpr int kWindowFontPixels = 11;
inline constexpr int kGroupFontPixels = 9;

// The colour `share` of the way from `from` to `to` (0 is `from`, 1 is `to`).
[[nodiscard]] QColor mixedColour(const QColor& from, const QColor& to, float share);

// Arial (or the font the system puts in its place) at a height in pixels.
[[nodiscard]] QFont windowFont(int pixels);

// Makes the application draw with the Fusion style whatever the desktop's style override
// or platform theme would pick, and with Fusion's measures of a 96-dpi screen. Other
// styles draw wider frames and larger indicators and arrows than the fixed places leave
// room for, and Fusion's own measures grow with the screen's resolution. The palette stays
// the desktop's, so a dark desktop gives dark windows; the outlines of boxes, radio buttons
// and edits are drawn between the window and its text colour, so that they show under any
// palette, and the menu bar's entry chosen by keyboard (after Alt) shows as selected. Call
// it once the application exists.
void useFixedStyle();

}  // namespace ui
