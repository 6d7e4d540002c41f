#include "fileconv/record_writer.h"

#include <algorithm>
#include <array>
#include <utility>

#include "angles/angle_writing.h"
#include "angles/dms_text.h"
#include "angles/packed_angle.h"
#include "text/number_text.h"

namespace tarvo::fileconv {
namespace {

// T27 columns, from 0: columns 8 to 31 hold the two values.
constexpr std::size_t kT27ValuesStart = 7;
constexpr std::size_t kT27ValuesEnd = 31;
constexpr int kT27ValueWidth = 12;
// Decimals of a packed T27 latitude or longitude: 4 of seconds.
constexpr int kT27PackedDecimals = 8;
// Metres are written with "%.3f", latitudes and longitudes with "%12.*f".
constexpr int kMetreDecimals = 3;
constexpr int kAngleWidth = 12;

bool IsSeparator(char c, FileTypeCode type) {
  return type == FileTypeCode::Csv ? c == ',' : (c == ' ' || c == '\t');
}

// The input line as results with input show it: up to a carriage return left inside it.
std::string_view InputPart(std::string_view line) {
  return line.substr(0, line.find('\r'));
}

}  // namespace

void RecordWriter::AppendAngle(double packed, std::string& out) const {
  const int d = setup_.decimals;
  const double radians = angles::PackedToRadians(packed);
  switch (setup_.outputFormat) {
    case angles::AngleFormat::Packed:
      text::AppendFixed(out, packed, d, kAngleWidth);
      break;
    case angles::AngleFormat::DmsBlanks:
      out += angles::FormatRadiansDmsPlain(radians, d - 4);
      break;
    case angles::AngleFormat::DmsSymbols:
      out += angles::FormatRadiansDms(radians, d - 4);
      break;
    case angles::AngleFormat::DecimalDegrees:
      text::AppendFixed(out, angles::RadiansToDegrees(radians), d, kAngleWidth);
      break;
    case angles::AngleFormat::DegreesMinutes:
      text::AppendFixed(out, angles::RadiansToDegreesMinutes(radians), d, kAngleWidth);
      break;
    case angles::AngleFormat::Radians:
      text::AppendFixed(out, radians, d, kAngleWidth);
      break;
    case angles::AngleFormat::Seconds:
      text::AppendFixed(out, angles::RadiansToSeconds(radians), d - 4, kAngleWidth);
      break;
    case angles::AngleFormat::Minutes:
      text::AppendFixed(out, angles::RadiansToSeconds(radians) / 60.0, d, kAngleWidth);
      break;
  }
}

void RecordWriter::Write(std::string_view line, const RecordFields& fields,
                         const ConvertedRecord& values, std::string& out) const {
  if (setup_.outputUnits == Units::Both) {
    WriteBoth(fields, values, out);
  } else if (setup_.type == FileTypeCode::T27) {
    if (setup_.outputUnits == Units::Cartesian) {
      WriteWithInput(line, fields, values, out);
    } else {
      WriteT27(line, values, out);
    }
  } else if (setup_.contents == OutputContents::ResultsWithInput) {
    WriteWithInput(line, fields, values, out);
  } else {
    WriteResultsOnly(line, fields, values, out);
  }
}

void RecordWriter::WriteWithInput(std::string_view line, const RecordFields& fields,
                                  const ConvertedRecord& values, std::string& out) const {
  const std::string_view input = InputPart(line);
  out += input;
  // SSV: pad the input part to one less than the longest line (whose last character is its
  // line end), so the values of every line start in the same column.
  const std::size_t width = setup_.longestLineLength;
  if (setup_.type == FileTypeCode::Ssv && input.size() + 1 < width) {
    out.append(width - 1 - input.size(), ' ');
  }

  const char separator = Separator();
  if (setup_.outputUnits == Units::Geographic) {
    out += separator;
    AppendAngle(values.latitude, out);
    out += separator;
    AppendAngle(values.longitude, out);
  } else {
    out += separator;
    text::AppendFixed(out, values.east, kMetreDecimals);
    out += separator;
    text::AppendFixed(out, values.north, kMetreDecimals);
  }
  // Cartesian output always carries Z: X and Y alone are no position.
  if (fields.heightUsed || setup_.outputUnits == Units::Cartesian) {
    out += separator;
    text::AppendFixed(out, values.height, kMetreDecimals);
  }
  out += '\n';
}

void RecordWriter::WriteResultsOnly(std::string_view line, const RecordFields& fields,
                                    const ConvertedRecord& values, std::string& out) const {
  enum class Slot { First, Second, Height };
  struct Place {
    Slot slot;
    FieldColumns columns;
  };
  std::array<Place, 3> places{{{Slot::First, fields.firstColumns},
                               {Slot::Second, fields.secondColumns},
                               {Slot::Height, fields.heightColumns}}};
  const std::size_t count = fields.heightUsed ? 3 : 2;
  // By start column, fields beyond the line by their number; equal places keep the order
  // first, second, height (a stable insertion sort of two or three places).
  const auto before = [](const FieldColumns& a, const FieldColumns& b) {
    return a.start != b.start ? a.start < b.start : a.missing < b.missing;
  };
  for (std::size_t i = 1; i < count; ++i) {
    for (std::size_t j = i; j > 0 && before(places[j].columns, places[j - 1].columns); --j) {
      std::swap(places[j], places[j - 1]);
    }
  }

  const bool geographic = setup_.outputUnits == Units::Geographic;
  const char separator = Separator();
  std::size_t copy = 0;
  int added = 0;                             // separators written for fields beyond the line
  std::size_t valueEnd = std::string::npos;  // where the last value written ends in `out`
  for (std::size_t i = 0; i < count; ++i) {
    const Place& place = places[i];
    const std::size_t start = std::min(place.columns.start, line.size());
    if (start > copy) out += line.substr(copy, start - copy);
    // A field beyond the line gets the separators the line lacks, so that each value is
    // read back in its own field (SSV has no empty fields: a run of blanks is one
    // separator); two values never touch (a field named twice).
    if (place.columns.missing > added) {
      const int separators = setup_.type == FileTypeCode::Csv ? place.columns.missing - added : 1;
      out.append(static_cast<std::size_t>(separators), separator);
      added = place.columns.missing;
    } else if (out.size() == valueEnd) {
      out += separator;
    }
    switch (place.slot) {
      case Slot::First:
        if (geographic) {
          AppendAngle(values.latitude, out);
        } else {
          text::AppendFixed(out, values.east, kMetreDecimals);
        }
        break;
      case Slot::Second:
        if (geographic) {
          AppendAngle(values.longitude, out);
        } else {
          text::AppendFixed(out, values.north, kMetreDecimals);
        }
        break;
      case Slot::Height:
        text::AppendFixed(out, values.height, kMetreDecimals);
        break;
    }
    valueEnd = out.size();
    // The field's own text is replaced up to the separator that follows it.
    copy = line.size();
    for (std::size_t j = place.columns.stop; j < line.size(); ++j) {
      if (IsSeparator(line[j], setup_.type)) {
        copy = j;
        break;
      }
    }
  }
  if (copy < line.size()) out += line.substr(copy);
  if (setup_.outputUnits == Units::Cartesian && !fields.heightUsed) {
    out += separator;
    text::AppendFixed(out, values.height, kMetreDecimals);
  }
  out += '\n';
}

void RecordWriter::WriteBoth(const RecordFields& fields, const ConvertedRecord& values,
                             std::string& out) const {
  out += "East ";
  text::AppendFixed(out, values.east, kMetreDecimals);
  out += " North ";
  text::AppendFixed(out, values.north, kMetreDecimals);
  if (fields.heightUsed) {
    out += " Height ";
    text::AppendFixed(out, values.height, kMetreDecimals);
  }
  const int secondsDecimals = setup_.decimals - 4;
  out += " Latitude ";
  out += angles::FormatRadiansDmsPlain(angles::PackedToRadians(values.latitude), secondsDecimals);
  out += " Longitude ";
  out += angles::FormatRadiansDmsPlain(angles::PackedToRadians(values.longitude), secondsDecimals);
  out += '\n';
}

void RecordWriter::WriteT27(std::string_view line, const ConvertedRecord& values,
                            std::string& out) const {
  if (!setup_.t27Unchanged) {
    out += line.substr(0, std::min(kT27ValuesStart, line.size()));
    if (setup_.outputUnits == Units::Geographic) {
      // Four decimals of seconds, whatever the run's resolution; a seconds field that would
      // round to 60 carries into the minute.
      out += text::Format("%12s%12s",
                          angles::FormatPacked(values.latitude, kT27PackedDecimals).c_str(),
                          angles::FormatPacked(values.longitude, kT27PackedDecimals).c_str());
    } else {
      text::AppendFixed(out, values.east, kMetreDecimals, kT27ValueWidth);
      text::AppendFixed(out, values.north, kMetreDecimals, kT27ValueWidth);
    }
    // A value wider than its 12 columns pushes the rest along rather than overwrite it.
    if (line.size() > kT27ValuesEnd) out += line.substr(kT27ValuesEnd);
  } else {
    out += line;
  }
  out += '\n';
}

void AppendEchoLine(Units inputUnits, const RecordFields& fields, int decimals, std::string& out) {
  const double first = text::ToDouble(fields.first);
  const double second = text::ToDouble(fields.second);
  const double height = text::ToDouble(fields.height);
  if (inputUnits == Units::Grid) {
    out += "\nEast ";
    text::AppendFixed(out, first, kMetreDecimals);
    out += " North ";
    text::AppendFixed(out, second, kMetreDecimals);
  } else if (inputUnits == Units::Geographic) {
    out += "\nLatitude ";
    text::AppendFixed(out, first, decimals);
    out += " Longitude ";
    text::AppendFixed(out, second, decimals);
  } else {
    return;
  }
  out += " Height ";
  text::AppendFixed(out, height, kMetreDecimals);
  out += '\n';
}

}  // namespace tarvo::fileconv
