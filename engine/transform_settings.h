// The transformation settings of one program run: the current position, the GDA-side
// ellipsoid and seven parameters of the similarity transformation, the active parameter set,
// the datum-change method and the latitude/longitude notations.
//
// The program makes one of these at start-up and passes it by reference to whatever reads or
// changes it. The ellipsoid and the seven parameters are kept as the texts the user typed or
// the parameter file held; they become numbers (C-locale strtod, a text that is not a number
// counting as 0) each time a transformation uses them, see MakeDatumParameters.
#pragma once

#include <string>

namespace tarvo::engine {

// The datum-change method. tarvo_prm.dat keeps its number (line 21); a number that is
// neither, which only an edited file holds, is kept as read and names no method.
enum class AccuracyMethod : int {
  High = -1,   // NTv2 grid interpolation
  Medium = 0,  // 7-parameter similarity transformation
};

// Values of TransformSettings::parameterSet: 0 National (from AGD84), 1 to 4 the Regional
// sets (from AGD66), or user defined.
inline constexpr int kNationalParameterSet = 0;
inline constexpr int kUserDefinedParameterSet = -1;

struct TransformSettings {
  // Current position as packed DDD.MMSSsss values; the latitude is south and positive.
  double latitude = 32.533;
  double longitude = 151.423;

  // GDA-side ellipsoid of the 7-parameter transformation (GRS80 by default).
  std::string semiMajorAxis = "6378137.0";
  std::string inverseFlattening = "298.257222101";
  // The National AGD84 -> GDA94 parameters: metres, seconds of arc, parts per million.
  std::string shiftX = "-117.763";
  std::string shiftY = "-51.510";
  std::string shiftZ = "139.061";
  std::string rotationX = "-0.292";
  std::string rotationY = "-0.443";
  std::string rotationZ = "-0.277";
  std::string scalePpm = "-0.191";

  int parameterSet = kNationalParameterSet;
  AccuracyMethod accuracyMethod = AccuracyMethod::High;

  // Notation labels of geographic input and output; the degree sign is the byte 0xB0.
  std::string inputFormat = "DDD.MMSSsssss";
  std::string outputFormat =
      "DDD\xB0"
      " MM' SS.ssss\"";
};

}  // namespace tarvo::engine
