#include "ntv2/grid_header.h"

#include "angles/angle_format.h"
#include "angles/packed_angle.h"
#include "ntv2/grid_datum.h"
#include "ntv2/grid_file.h"
#include "text/number_text.h"

namespace tarvo::ntv2 {
namespace {

// Running extents: a value still at its start (0) or anywhere at -1" or above is replaced
// outright, otherwise the more extreme one is kept.
void Extend(double& running, double limit, bool keepLarger) {
  if (running >= -1.0 || (keepLarger ? limit > running : limit < running)) running = limit;
}

std::string ExtentText(double seconds, const char* sign) {
  const angles::DegreesMinutesSeconds dms = angles::SecondsToDms(seconds);
  // Two digits before the point: the seconds are padded with a 0 when, as printed with
  // three decimals, they are below 10.
  const bool twoDigits = text::ToDouble(text::Format("%.3f", dms.seconds)) >= 10.0;
  return text::Format(twoDigits ? "%s%d%c %02d' %5.3f%c" : "%s%d%c %02d' 0%4.3f%c", sign,
                      dms.degrees, angles::kDegreeSign, dms.minutes, dms.seconds, '"');
}

}  // namespace

std::string ExtentLatitudeText(double seconds) {
  return ExtentText(seconds, "-");
}

std::string ExtentLongitudeText(double seconds) {
  return ExtentText(seconds, "");
}

bool ReadGridHeader(const std::string& path, GridCaller caller, GridHeaderTexts& texts,
                    GridChoice& grid, ui::Desktop& desktop) {
  GridOpenStatus status;
  const std::unique_ptr<GridFile> file = GridFile::Open(path, status);
  ShowSubGridCounts(desktop, caller, status.detection);
  // The format text names the layout being tried: Canadian, then Australian.
  texts.format =
      status.detection.layout != nullptr ? status.detection.layout->label : kAustralianLayout.label;
  if (!file) {
    ShowInvalidGridFile(desktop, caller, path, RefusalReason(status));
    return false;
  }

  const auto subGrids = file->subGrids();
  texts.datum = DetectGridDatum(subGrids.front().name, path, caller, texts.datum, grid, desktop);
  double south = 0.0;
  double north = 0.0;
  double east = 0.0;
  double west = 0.0;
  for (const SubGrid& s : subGrids) {
    Extend(south, s.south, false);
    Extend(north, s.north, true);
    Extend(east, s.east, false);
    Extend(west, s.west, true);
  }
  texts.maxLatitude = ExtentLatitudeText(-south);
  texts.minLatitude = ExtentLatitudeText(-north);
  texts.maxLongitude = ExtentLongitudeText(-east);
  texts.minLongitude = ExtentLongitudeText(-west);
  texts.pendingPath = path;
  return true;
}

SubGridExtents ReadSubGridExtents(const std::string& gridFilePath, ui::Desktop& desktop) {
  GridOpenStatus status;
  const std::unique_ptr<GridFile> file = GridFile::Open(gridFilePath, status);
  if (!file) {
    ShowInvalidGridFile(desktop, GridCaller::kSubGridExtents, gridFilePath, RefusalReason(status));
    return {};
  }
  SubGridExtents extents;
  for (const SubGrid& s : file->subGrids()) {
    extents.subGrids.push_back(
        {-s.west / 3600.0, -s.east / 3600.0, -s.north / 3600.0, -s.south / 3600.0});
  }
  extents.count = static_cast<int>(extents.subGrids.size());
  return extents;
}

}  // namespace tarvo::ntv2
