// Reading latitudes and longitudes typed or read in one of the input notations.
//
// A field's text is first cleaned and range-checked by `CheckAngleText` (south latitudes 0
// to 50 degrees, east longitudes 110 to 160: the Australian region the grids cover), then
// turned into a packed value by `ReadAngleText`. Readers go through the C-locale number
// conversion: leading blanks are skipped, reading stops at the first character that cannot
// continue a number, and a text that does not start with a number reads as 0.
//
// The notation is passed as its label, the text the settings hold; an unknown label is
// reported in a message box through the desktop. Loops that read many values look the
// notation up once and use the overload that takes an `AngleFormat`.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "angles/angle_format.h"
#include "ui/desktop.h"

namespace tarvo::angles {

// The longest text the readers look at.
inline constexpr std::size_t kMaxReadLength = 30;

// The packed value of `text` in `format`. The packed notation is read as a number, and
// "DDD MM SS.ssss" as whole degrees, whole minutes and seconds separated by blanks ("33 5 1"
// is 33 degrees 05' 01"; minutes and seconds may be left out from the end; at most 30
// characters count). Numbers may carry an exponent ("3.35e1"). The other notations are
// converted to packed with
// `secondsDecimals` (0 to 6) deciding the rounding (decimal degrees with one decimal more),
// then rounded by `RoundPacked` to 5 decimals of seconds (decimal degrees) or 4 (degree
// minutes, radians, arc seconds, arc minutes). A whole turn of arc seconds or minutes reads
// as 0. Non-negative for unsigned text; a typed '-' is kept. Nothing for the symbol
// notation, which is never read, and for a "DDD MM SS.ssss" text that does not split into
// degrees, minutes and seconds.
std::optional<double> ReadAngleText(std::string_view text, AngleFormat format, int secondsDecimals);

// The same with the notation given by its label. An unknown label, or the symbol
// notation's, shows a message box with the label as its text, the caption "ERROR 1" and
// an error icon, and gives -1.0; a text the notation cannot read gives -1.0 without one.
double ReadAngleText(std::string_view text, std::string_view inputFormat, int secondsDecimals,
                     ui::Desktop& desktop);

enum class AngleKind { Latitude, Longitude, Unchecked };
enum class AngleCheck {
  InRange,
  OutOfRange,
  // The text holds no number (or, in "DDD MM SS.ssss", does not split into degrees, minutes
  // and seconds). Nothing was shown: the caller refuses it in its own words.
  Unreadable,
};

// Cleans a latitude or longitude text in place and checks its range.
//
// Cleaning appends a '.' when the text has none, then keeps of its first 30 characters
// everything except letters, '+' and '-', second and later points, and blanks before the
// first character kept; an exponent after a number ('e' or 'E', with its sign, before a
// digit) is kept as part of it. The value checked is in degrees: read as a number and converted
// for radians, arc seconds and arc minutes; for the packed and degree-minute notations the
// number itself, and for "DDD MM SS.ssss" the packed number it is read as (a packed number
// compares with a whole degree as the angle does). A radian value within 0.001 arc second of
// a bound is taken as the bound, since no radian text states a whole degree exactly. A
// latitude must lie in 0 to 50 and a longitude in 110 to 160, the bounds included (an
// unknown notation is checked as the number read); otherwise a warning ("ERROR")
// quotes the cleaned text and says the previous value is kept, and the result is
// OutOfRange. A text that holds no number is Unreadable, with no message. On either the
// caller restores the field's previous text.
AngleCheck CheckAngleText(std::string& text, AngleKind kind, std::string_view inputFormat,
                          ui::Desktop& desktop);

// The signed packed value of a text in the symbol notation, such as -35 deg 12' 34.5678"
// (with the degree sign 0xB0): of its first 20 characters the degree sign becomes the
// point, digits and '-' are kept, everything else is dropped.
double DisplayTextToPacked(std::string_view text);

}  // namespace tarvo::angles
