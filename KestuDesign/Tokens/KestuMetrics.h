#pragma once

// Spacing and corner radii, in points (logical pixels).
namespace kestu {
namespace Space {
inline constexpr double space2 = 2;
inline constexpr double space4 = 4;
inline constexpr double space8 = 8;
inline constexpr double space12 = 12;
inline constexpr double space16 = 16;
inline constexpr double space20 = 20;
inline constexpr double space24 = 24;
} // namespace Space

namespace Radius {
inline constexpr double small = 4;
inline constexpr double medium = 8;
inline constexpr double large = 12;
} // namespace Radius
} // namespace kestu
