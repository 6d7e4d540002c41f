// The main window's map of Australia: coast, graticule and zones, the marks of calculated
// points and the outlines of the grid file's sub-grids.
//
// Every element goes through the same mapping from degrees to client pixels, so a marker
// lands on its place on the drawn coast. The mapping is a plate carree fitted to the map's
// box, with a 2-pixel lift between 20 and 36 degrees south that corrects the fit there.
#pragma once

#include <vector>

#include "ntv2/grid_header.h"
#include "ui/display_list.h"

namespace tarvo::mainwindow {

// Layers of the main window's drawing, painted in this order.
inline constexpr int kMapLayer = 0;
inline constexpr int kOutlineLayer = 1;
inline constexpr int kMarkerLayer = 2;
inline constexpr int kHelpLayer = 3;

// Horizontal map coordinate of a longitude (degrees east).
int MapX(double longitude);
// Vertical map coordinate of a latitude (degrees, south positive).
int MapY(double latitude);
// Both stay within 100000 pixels of the map: a position further out, or no number at all,
// is placed that far off the map and is not seen.

// Draws the map: grey sea, land, meridians every 6 degrees from 114 to 156 east, parallels
// at 16, 24, 32 and 40 south with their labels, and the zone numbers 49 to 56.
void DrawMap(ui::DisplayList& display);

// The box of the marker for a stored position. The stored packed values (DDD.MMSS) are
// placed as if they were degrees, as the marker always has been.
ui::PixelRect MarkerBox(double packedLatitude, double packedLongitude);

// Adds a marker (a red ring) for a stored position; earlier markers stay.
void DrawMarker(ui::DisplayList& display, double packedLatitude, double packedLongitude);

// The map's box in client pixels; every outline pixel lies inside it.
const ui::PixelRect& MapBox();

// Replaces the outlines of the sub-grids by these (green, 2 pixels wide); a west limit
// below 108 degrees is drawn at 108. Sides beyond the map are cut at its edge or left out.
void DrawSubGridOutlines(ui::DisplayList& display,
                         const std::vector<ntv2::SubGridExtent>& subGrids);

}  // namespace tarvo::mainwindow
