// The GDA-side ellipsoid and the seven parameters of the AGD <-> GDA94 similarity
// transformation as numbers, converted from the texts of TransformSettings.
//
// Each text is read as C-locale strtod does (text::ToDouble): a text that is not a number
// counts as 0. Rotations are seconds of arc (× 4.84813681109536e-06 to radians), the scale is
// parts per million (× 1e-6). The ellipsoid follows the GDA-side convention f = 1 / (1/f),
// e² = 2f − f², and 1 − e² taken as (1 − f)².
//
// The single-point calculation converts the texts at each call, so a change in the
// parameters dialog applies from the next calculation on; a batch run converts them once.
#pragma once

#include "engine/ellipsoid.h"
#include "engine/transform_settings.h"

namespace tarvo::engine {

struct DatumParameters {
  Ellipsoid gdaEllipsoid;  // the ellipsoid of the GDA side
  double shiftX = 0.0;     // tx, metres
  double shiftY = 0.0;     // ty, metres
  double shiftZ = 0.0;     // tz, metres
  double rotationX = 0.0;  // rx, radians
  double rotationY = 0.0;  // ry, radians
  double rotationZ = 0.0;  // rz, radians
  double scale = 0.0;      // s, scale difference (1 ppm is 1e-6)
};

DatumParameters MakeDatumParameters(const TransformSettings& settings);

}  // namespace tarvo::engine
