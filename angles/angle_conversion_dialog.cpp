#include "angles/angle_conversion_dialog.h"

#include <cmath>

#include "angles/angle_format.h"
#include "angles/angle_reading.h"
#include "angles/packed_angle.h"
#include "text/number_text.h"

namespace tarvo::angles {
namespace {

// The labels of rows 2 to 8 (row 1, the symbol text, has none).
constexpr const char* kRowLabels[7] = {"DDD.MMSSssss", "DDD MM SS.sss", "DDD.dddddddd",
                                       "DDD.MMmmmmm",  "Radians",       "SSSSSS.ssss",
                                       "MM.mmmmmm"};

// 1/pi as the degrees of row 4 are computed: d = r * 180 / pi.
constexpr double kOneOverPi = 0.3183098861837907;

}  // namespace

std::array<std::string, 8> AngleInEveryNotation(std::string_view text, bool latitude) {
  if (text.empty()) return {};
  const double packed = DisplayTextToPacked(text);
  // The magnitude in radians; an invalid packed value gives -1.0, which flows on as a number.
  const double radians = PackedToRadians(packed);
  // South latitudes are shown negative; negating a zero gives -0, which prints with its '-'.
  const auto shown = [latitude](double value) { return latitude ? -value : value; };

  std::array<std::string, 8> rows;
  rows[0] = std::string(text);
  if (latitude && (text.empty() || text.front() != '-')) rows[0].insert(0, 1, '-');

  rows[1] = latitude ? text::Format("-%.9f", std::fabs(packed)) : text::Format("%.9f", packed);

  // The symbol text with its marks blanked: " 33 52 10.1234"-like, as read by position.
  rows[2] = rows[0];
  for (char& c : rows[2]) {
    if (c == kDegreeSign || c == '\'') c = ' ';
  }
  if (!rows[2].empty() && rows[2].back() == '"') rows[2].back() = ' ';

  const double degrees = shown(radians * 180.0 * kOneOverPi);
  rows[3] = text::Format("%.9f", degrees);
  // DDD.MMmmmmm: whole degrees (toward zero) and the fraction of a degree as minutes / 100.
  // The sign is taken from the degrees, so a latitude of zero keeps its '-'.
  const double whole = std::trunc(degrees);
  rows[4] = text::Format("%.9f", std::copysign(whole + (degrees - whole) * 0.6, degrees));
  rows[5] = text::Format("%.9f", shown(radians));
  rows[6] = text::Format("%.4f", shown(radians * kSecondsPerRadian));
  rows[7] = text::Format("%.6f", shown(radians * kMinutesPerRadian));
  return rows;
}

AngleConversionDialog::AngleConversionDialog(ui::Desktop& desktop, std::string_view fromLatitude,
                                             std::string_view fromLongitude,
                                             std::string_view toLatitude,
                                             std::string_view toLongitude, std::string fromHeading,
                                             std::string toHeading)
    : ui::Dialog(desktop), fromHeading_(std::move(fromHeading)), toHeading_(std::move(toHeading)) {
  cells_[0] = AngleInEveryNotation(fromLatitude, true);
  cells_[1] = AngleInEveryNotation(fromLongitude, false);
  cells_[2] = AngleInEveryNotation(toLatitude, true);
  cells_[3] = AngleInEveryNotation(toLongitude, false);

  SetTemplate("Latitude and Longitude Conversions", 440, 188);
  SetHelpTopic("geo-convert");

  // Two pairs of columns, From and To, with a wider gap between the pairs.
  constexpr int kColumnLeft[kColumns] = {76, 164, 260, 348};
  constexpr int kColumnWidth = 84;
  constexpr int kFirstRowTop = 32;
  constexpr int kRowPitch = 16;

  Add(ui::ControlKind::StaticText, kFromHeading, "", {kColumnLeft[0], 6, 2 * kColumnWidth + 4, 10},
      ui::kCenter)
      .Bind(fromHeading_);
  Add(ui::ControlKind::StaticText, kToHeading, "", {kColumnLeft[2], 6, 2 * kColumnWidth + 4, 10},
      ui::kCenter)
      .Bind(toHeading_);
  for (int column = 0; column < kColumns; ++column) {
    Static(column % 2 == 0 ? "Latitude" : "Longitude", {kColumnLeft[column], 19, kColumnWidth, 10},
           ui::kCenter);
  }
  for (int row = 0; row < kRows; ++row) {
    const int top = kFirstRowTop + kRowPitch * row;
    if (row > 0) Static(kRowLabels[row - 1], {8, top + 2, 64, 10});
    for (int column = 0; column < kColumns; ++column) {
      const std::string name = std::string(column < 2 ? "From " : "To ") +
                               (column % 2 == 0 ? "latitude" : "longitude") + ", " +
                               (row == 0 ? "as shown" : kRowLabels[row - 1]);
      ReadOnlyEdit(CellId(row, column), {kColumnLeft[column], top, kColumnWidth, 13})
          .Bind(cells_[static_cast<std::size_t>(column)][static_cast<std::size_t>(row)])
          .Name(name);
    }
  }
  DefaultButton(kReturn, "&Return", {192, 166, 56, 14}).OnClick(&AngleConversionDialog::Return);
}

void AngleConversionDialog::Return() {
  Close(ui::kResultOk);
}

}  // namespace tarvo::angles
