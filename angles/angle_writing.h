// Writing latitudes and longitudes in the input and output notations, and the unit changes
// the file writer needs.
//
// `PackedToEditText` gives the text a latitude or longitude field shows while it is edited
// (in the input notation) and `ApplyOutputFormat` rewrites a result from the symbol notation
// into the output notation. Both go through a packed text DDD.MMSSsss... and take it apart
// by position: the digit notations read its degrees, minutes and seconds fields; the
// radian-based notations (radians, arc seconds, arc minutes) go through `PackedToRadians`.
// Texts are at most 49 characters.
//
// Signs: latitudes and longitudes are carried as positive numbers; a negative packed value
// is written as its magnitude with a '-' in front, in every notation.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "angles/angle_format.h"
#include "ui/desktop.h"

namespace tarvo::angles {

// The longest text the writers give.
inline constexpr std::size_t kMaxWrittenLength = 49;

// Radians to arc seconds (x * 206264.80624709636) and to decimal degrees.
double RadiansToSeconds(double radians);
double RadiansToDegrees(double radians);

// Signed radians to the signed number DDD.MMmmmmmmm: whole degrees, then two digits of whole
// minutes and seven decimals of minutes. The minutes are truncated, not rounded; the
// truncation allows for the representation error of the binary value (a relative 1e-13,
// some 0.02 of the last digit at most) so that an angle of exactly 35 deg 00.05' gives
// 35.0005 and not 35.000499999. A truncation that reaches 60 minutes becomes the next degree.
double RadiansToDegreesMinutes(double radians);

// Where a text in one of the input notations is shown. In the main window (fields being
// edited and results) radians and arc minutes are written with two decimals more than the
// packed digits, so that reading an unchanged field back returns the same position to the
// last decimal of seconds; the file writer keeps its stated decimals for every notation.
enum class TextTarget { Window, File };

// A packed value (>= 0) as text in an input notation. `decimals` (d, 4 to 13) is the
// number of decimals of the packed value as printed (d - 4 of seconds); the value is first
// printed with `FormatPacked` (so a seconds field that rounds to 60 becomes the next
// minute), then:
//   "DDD.MMSSsssss"   that text;                    "DDD MM SS.ssss"  35 12 34.5678;
//   "DDD.dddddddddd"  degrees with "%.9f";          "DDD.MMmmmmm"     35.MMmmmmmmm, "%.9f";
//   "Radians"         d decimals (d + 2 in the window);
//   "SSSSSS.ssss"     d decimals;                   "MM.mmmmmm"  d + 2 (window) or d (file).
// Nothing for the symbol notation, which is output only.
std::optional<std::string> PackedToEditText(double packed, int decimals, AngleFormat format,
                                            TextTarget target);

// The same with the notation given by its label. Any label other than those of the input
// notations shows a message box with the label as its text, the caption "ERROR 2" and an
// error icon, and gives nothing; the caller leaves the field as it was.
std::optional<std::string> PackedToEditText(double packed, int decimals,
                                            std::string_view inputFormat, ui::Desktop& desktop,
                                            TextTarget target);

// Rewrites a latitude and a longitude written in the symbol notation (by FormatRadiansDms
// with `secondsDecimals` decimals) into the output notation given by its label. The symbol
// notation leaves them as they are. Otherwise each text is reduced to a packed text
// (digits and '-' kept, the degree sign as the point, all else dropped) and written in the
// output notation as by PackedToEditText with d = secondsDecimals + 4 in the window. An
// unknown label shows the "ERROR 2" message, leaves both texts unchanged and gives false.
bool ApplyOutputFormat(std::string& latitude, std::string& longitude, std::string_view outputFormat,
                       int secondsDecimals, ui::Desktop& desktop);

}  // namespace tarvo::angles
