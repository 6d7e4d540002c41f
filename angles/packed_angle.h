// The packed sexagesimal value and the conversions between it and other angle units.
//
// Every latitude and longitude kept between operations is a packed value: a double whose
// integer part is whole degrees, whose first two decimals are whole minutes, the next two
// whole seconds and any further decimals decimal seconds (35.1234567 is 35 deg 12' 34.567").
// Every angle that enters a geodetic formula is in radians; `PackedToRadians` is the one
// gate between the two.
//
// Latitudes are south and longitudes east, both carried as positive numbers;
// `PackedToRadians` drops a sign, the converters to packed keep it.
//
// The converters from radians, decimal degrees and degrees-with-decimal-minutes split the
// angle into degrees, minutes and seconds, round the seconds to a fixed number of decimals
// with a carry into the minute (and the minute into the degree) so that a seconds field of
// 60 never appears, and give the double that the packed text reads as.
//
// Accuracy: the conversions are exact to a few units in the last place of a double (about
// 1e-10 arc second at 360 degrees); the program's constant for pi / 648000 has 15
// significant digits (relative error 1e-16). What limits a position is the number of
// decimals of seconds a value is rounded to: 0.0001" is 3 mm on the ground.
#pragma once

#include <string>

namespace tarvo::angles {

// Radians per arc second (pi / 648000), as used throughout the program.
inline constexpr double kRadiansPerSecond = 4.84813681109536e-6;
inline constexpr double kDegreesPerRadian = 57.29577951308232;
inline constexpr double kSecondsPerRadian = 206264.80624709636;
inline constexpr double kMinutesPerRadian = 3437.7467707849396;
// 1/3600 and 1/60 as the program multiplies by them.
inline constexpr double kDegreesPerSecond = 0.0002777777777777778;
inline constexpr double kDegreesPerMinute = 0.016666666666666666;

// What `PackedToRadians` gives for a value that is not a valid packed angle.
inline constexpr double kInvalidAngle = -1.0;

// T(n): the largest seconds value that still prints below 60 with n decimals (59.5, 59.95,
// ..., 59.9999995 for n = 0 to 6; 59.999995 for any other n). Seconds above it are taken as
// a whole minute.
double RoundingThreshold(int decimals);

// The magnitude of a packed value in radians (always >= 0), or exactly kInvalidAngle when
// its whole degrees are 360 or more or its minutes field is over 59 (or it is not finite).
// A value a hair below a whole minute (35.13 is stored as 35.12999...) is taken as that
// minute, and a seconds field of 59.99999 up to 99.99 as the next whole minute; that carry
// may reach 360 degrees (a full turn), which is valid.
double PackedToRadians(double packed);

// Signed radians to a signed packed value with k + 1 decimals of seconds. k is 0 to 7 in
// use (`secondsDecimals`, or `secondsDecimals` + 1 for decimal degrees) and is clamped to
// that range here, as in the two converters below. Values that are not finite are returned
// as they are; so are radians too large to have a finite number of degrees, as an infinity.
double RadiansToPacked(double radians, int k);
// Signed decimal degrees to a signed packed value with k decimals of seconds.
double DecimalDegreesToPacked(double degrees, int k);
// Signed radians to a signed packed value with k decimals of seconds: the decimal degrees of
// the radians, converted as DecimalDegreesToPacked converts them. (RadiansToPacked writes
// one decimal more than its carry threshold is made for, so a fraction of a second above
// 1 - 0.5e-(k-1) is lifted to the next whole second there.)
double RadiansToPackedDecimals(double radians, int k);
// A signed DDD.MMmmmmm number (whole degrees, two digits of whole minutes, decimal minutes)
// to a signed packed value with k decimals of seconds.
double DegreesMinutesToPacked(double degreesMinutes, int k);

// Arc seconds or arc minutes to a packed value, without rounding: the seconds field of the
// result may be a hair below 60 (callers round it with `RoundPacked`).
double SecondsToPacked(double seconds);
double MinutesToPacked(double minutes);

// Arc seconds (>= 0) as whole degrees, whole minutes and seconds. Seconds above 59.9 carry
// into the minute (the grid extents it serves are written with three decimals).
struct DegreesMinutesSeconds {
  int degrees = 0;
  int minutes = 0;
  double seconds = 0.0;
};
DegreesMinutesSeconds SecondsToDms(double seconds);

// The packed value printed with "%.*f" and `decimals` decimals (decimals - 4 of seconds),
// except that a seconds field of 60 or more, which printing a value a hair below the next
// minute produces, is written as the next whole minute (and a minute of 60 as the next
// degree, 360 degrees as 0), as `PackedToRadians` reads it.
std::string FormatPacked(double packed, int decimals);
// The value of FormatPacked(packed, decimals).
double RoundPacked(double packed, int decimals);

}  // namespace tarvo::angles
