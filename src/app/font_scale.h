#pragma once

namespace hostlore {

// How much larger the desktop's default font (the application font) is than
// the one the window was laid out for. Fonts, tab lengths and the window's
// first size grow by it, so a larger desktop font clips nothing.
double FontScale();

// Sizes laid out in pixels grow with a larger desktop font but never shrink
// below their design.
double GrowthScale();

}  // namespace hostlore
