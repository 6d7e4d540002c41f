// The coastline of Australia drawn on the main window's map.
#pragma once

#include <cstddef>
#include <span>

namespace tarvo::mainwindow {

struct CoastPoint {
  double longitude;  // degrees, east positive
  double latitude;   // degrees, north positive (so negative here)
};

// One closed ring; its last point repeats its first.
struct CoastRing {
  const CoastPoint* points;
  std::size_t count;
};

// The mainland, Tasmania and four larger islands.
std::span<const CoastRing> AustraliaCoast();

}  // namespace tarvo::mainwindow
