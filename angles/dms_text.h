// Degrees, minutes and seconds texts: the symbol notation the main window shows
// (" 35<deg> 12' 34.5678\"", the degree sign being the byte 0xB0) and the plain
// " 35 12 34.5678" of output files.
//
// The angle is split into whole degrees D, whole minutes M and seconds S, and S is written
// with k decimals (0 to 6 in use; clamped to 0 to 9). Seconds above T(k), which would print
// as 60, become the next minute, a minute of 60 the next degree, and 360 degrees 0. Because
// T(k) is itself a double a hair above or below its decimal value, the printed seconds are
// checked as well: a value that still prints as 60 is carried the same way. So no text ever
// shows 60 seconds or 60 minutes. Seconds always have two digits before the point.
#pragma once

#include <string>

namespace tarvo::angles {

// Signed radians as sign character (' ' or '-'), degrees, degree sign, blank, two-digit
// minutes, "' ", seconds and '"'.
std::string FormatRadiansDms(double radians, int k);

// A packed value (>= 0) as the same text without the sign character. A negative value is
// written as its magnitude after a '-'.
std::string FormatPackedDms(double packed, int k);

// Signed radians as sign character, degrees, blank, two-digit minutes, blank, seconds.
std::string FormatRadiansDmsPlain(double radians, int k);

}  // namespace tarvo::angles
