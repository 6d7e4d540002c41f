// The latitude and longitude conversion dialog: the From position and the last To position
// of the main window, each shown at once in every notation, so the user can copy a value in
// the form another program needs.
//
// Each of the four columns (From latitude, From longitude, To latitude, To longitude) starts
// from a text in the symbol notation, e.g. 33<deg> 52' 10.1234". Its packed value comes
// from DisplayTextToPacked and its radians from PackedToRadians; every other row is computed
// from those:
//   1  the text itself              2  packed DDD.MMSSsssss, "%.9f"
//   3  DDD MM SS.ssss (the symbol text with its marks blanked)
//   4  decimal degrees, "%.9f"      5  degrees and decimal minutes DDD.MMmmmmm, "%.9f"
//   6  radians, "%.9f"              7  arc seconds, "%.4f"     8  arc minutes, "%.6f"
// Latitudes are south: the latitude columns show every row negative (zero as -0), the
// longitude columns positive. The rows carry the precision of the text given (the main
// window's 4 or 5 decimals of seconds, 3 mm or less); the unit changes add only rounding
// in the last printed digit.
//
// Everything is computed when the dialog is built; it changes nothing and returns nothing.
// Before any calculation the To texts are empty and read as zero.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "ui/dialog.h"

namespace tarvo::angles {

// The eight rows of one column for a text in the symbol notation; `latitude` gives the
// south-negative rows of a latitude column. An empty text (no position: the main window's To
// side after a refused calculation) gives eight empty rows.
std::array<std::string, 8> AngleInEveryNotation(std::string_view text, bool latitude);

class AngleConversionDialog : public ui::Dialog {
 public:
  static constexpr int kRows = 8;
  static constexpr int kColumns = 4;
  static constexpr int kReturn = 1;
  static constexpr int kFromHeading = 1090;
  static constexpr int kToHeading = 1091;
  // The read-only field of row 0 to 7 in column 0 to 3 (From latitude, From longitude, To
  // latitude, To longitude).
  static constexpr int CellId(int row, int column) { return 1100 + 10 * column + row; }

  // The texts of the main window: the From position, the last To position (both in the
  // symbol notation; empty before the first calculation) and the headings of the two sides
  // ("GDA/MGA Zone 56").
  AngleConversionDialog(ui::Desktop& desktop, std::string_view fromLatitude,
                        std::string_view fromLongitude, std::string_view toLatitude,
                        std::string_view toLongitude, std::string fromHeading,
                        std::string toHeading);

 private:
  void Return();

  std::string fromHeading_;
  std::string toHeading_;
  std::array<std::array<std::string, kRows>, kColumns> cells_;
};

}  // namespace tarvo::angles
