// Conversion of the transformation texts to numbers; see datum_parameters.h.
#include "engine/datum_parameters.h"

#include "text/number_text.h"

namespace tarvo::engine {

DatumParameters MakeDatumParameters(const TransformSettings& settings) {
  DatumParameters parameters;

  // An inverse flattening of 0, which is also what a text that is not a number gives, is
  // read as a sphere (f = 0), the convention of well-known text for ellipsoids; 1 / 0 would
  // make every result of the transformation NaN.
  const double inverseFlattening = text::ToDouble(settings.inverseFlattening);
  const double f = inverseFlattening == 0.0 ? 0.0 : 1.0 / inverseFlattening;
  parameters.gdaEllipsoid.semiMajorAxis = text::ToDouble(settings.semiMajorAxis);
  parameters.gdaEllipsoid.eccentricitySquared = 2.0 * f - f * f;
  parameters.gdaEllipsoid.oneMinusEccentricitySquared = (1.0 - f) * (1.0 - f);

  parameters.shiftX = text::ToDouble(settings.shiftX);
  parameters.shiftY = text::ToDouble(settings.shiftY);
  parameters.shiftZ = text::ToDouble(settings.shiftZ);
  parameters.rotationX = text::ToDouble(settings.rotationX) * kRadiansPerArcSecond;
  parameters.rotationY = text::ToDouble(settings.rotationY) * kRadiansPerArcSecond;
  parameters.rotationZ = text::ToDouble(settings.rotationZ) * kRadiansPerArcSecond;
  parameters.scale = text::ToDouble(settings.scalePpm) * 1e-06;
  return parameters;
}

}  // namespace tarvo::engine
