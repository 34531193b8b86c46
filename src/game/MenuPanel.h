#pragma once

// The menu panel on the right edge slides in under the pointer and out of
// its way, in 5-pixel steps between its two resting places.
namespace MenuPanel {

inline constexpr int ShownLeft = 545;  // the panel fully shown
inline constexpr int HiddenLeft = 795; // only a 5-pixel strip left on screen
inline constexpr int StepPixels = 5;
inline constexpr int StepsIn = 3;      // per tick, when the pointer is over the panel
inline constexpr int StepsOut = 5;     // per tick, when the pointer is left of it

// The panel's new left edge after one tick, with the pointer at x (in the
// stage's coordinates). A pointer exactly on the edge leaves the panel where
// it is.
int Slide(int left, int pointerX);

} // namespace MenuPanel
