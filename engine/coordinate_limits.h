// The values the program takes as coordinates, as entries and as results.
//
// Every point on or near the earth has grid, Cartesian and height values far below 1e7 m. A
// value up to 1e9 m either way counts as a coordinate (room for false origins and test
// points); a value beyond that, or one that is not finite, is none. Not finite is what the
// formulas give for points they do not cover (the earth's centre as Cartesian input, a
// parameter set of absurd size). Such a value is refused where it is typed, and a result that
// is no coordinate is neither shown, saved nor written: a number the program puts out is the
// answer to its input, or there is none. "%.3f" of 1e9 m is 14 characters, which every
// field and file line holds. The point scale factor, dimensionless, is held to the same
// bound: beyond it there is no point either.
#pragma once

#include <cmath>

namespace tarvo::engine {

inline constexpr double kMaxCoordinateMetres = 1e9;

inline bool IsCoordinate(double value) {
  return std::isfinite(value) && std::fabs(value) <= kMaxCoordinateMetres;
}

}  // namespace tarvo::engine
