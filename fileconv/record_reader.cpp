#include "fileconv/record_reader.h"

#include <algorithm>

namespace tarvo::fileconv {
namespace {

// Characters a field scan looks at, before any widening.
constexpr std::size_t kFieldWindow = 20;

// T27 columns, from 0: the first value, the second value and the height.
constexpr std::size_t kT27FirstColumn = 7;
constexpr std::size_t kT27SecondColumn = 19;
constexpr std::size_t kT27HeightColumn = 31;
constexpr std::size_t kT27ValueWidth = 12;
constexpr std::size_t kT27HeightWidth = 9;

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// True when line[pos] starts the exponent of the number collected so far: an 'e' or 'E'
// after a digit (or after the point of a number with digits), followed by a digit or by a
// sign and a digit. "1.5e2" is 150, as the number's writer meant; a letter anywhere else
// still ends the field.
bool StartsExponent(std::string_view line, std::size_t pos, std::string_view collected) {
  if (line[pos] != 'e' && line[pos] != 'E') return false;
  const std::size_t n = collected.size();
  const bool digitBefore =
      n > 0 && (IsDigit(collected[n - 1]) ||
                (collected[n - 1] == '.' && n > 1 && IsDigit(collected[n - 2])));
  if (!digitBefore) return false;
  std::size_t next = pos + 1;
  if (next < line.size() && (line[next] == '+' || line[next] == '-')) ++next;
  return next < line.size() && IsDigit(line[next]);
}

bool HasDigit(std::string_view text) {
  for (const char c : text) {
    if (IsDigit(c)) return true;
  }
  return false;
}

enum class FieldKind { First, Second, Height, Zone };

// Scans one field from `start` into `out`; stores the column where the scan stopped.
// Returns false only for a first field that cannot be read (the run ends there).
//
// Every collected character was examined inside the window, and the window widens only for
// characters that are skipped, so a field never collects more than kFieldWindow characters.
bool ScanField(std::string_view line, std::size_t start, FieldKind kind, bool dms, std::string& out,
               std::size_t& stop) {
  char collected[kFieldWindow];
  std::size_t count = 0;
  const bool coordinate = kind == FieldKind::First || kind == FieldKind::Second;
  std::size_t window = kFieldWindow;
  bool pointPlaced = false;
  bool exponentPlaced = false;  // values only, not "DDD MM SS.ssss" and not zones
  bool ended = true;  // the scan ended inside the line, not at the line's end
  std::size_t pos = start;
  for (std::size_t examined = 0; examined < window; ++examined, ++pos) {
    // The bulk of a field, a run of digits (and minus signs), is collected in one tight loop.
    const std::size_t run = pos;
    const std::size_t runLimit = std::min(line.size(), pos + (window - examined));
    for (; pos < runLimit && (IsDigit(line[pos]) || line[pos] == '-'); ++pos) {
      collected[count++] = line[pos];
    }
    examined += pos - run;
    if (examined == window) break;
    if (pos >= line.size()) {
      ended = false;
      break;
    }
    const char c = line[pos];
    if (c == ',') break;
    if (!dms && kind != FieldKind::Zone && !exponentPlaced &&
        StartsExponent(line, pos, std::string_view(collected, count))) {
      collected[count++] = c;
      exponentPlaced = true;
      if (line[pos + 1] == '+' && examined + 1 < window) {
        collected[count++] = '+';
        ++pos;
        ++examined;
      }
      continue;
    }
    if (kind == FieldKind::Zone && (c == '/' || c == '\\')) continue;
    if (c == '.' && !dms) {
      collected[count++] = c;
      continue;
    }
    if (IsBlank(c) || c == '.') {
      if (dms) {
        // "DDD MM SS.ssss": the first blank after the degrees is the packed number's point;
        // the blank between minutes and seconds and the seconds' own point are dropped.
        // One digit of degrees is enough (latitudes north of 10 degrees south).
        if (!pointPlaced && HasDigit(std::string_view(collected, count))) {
          collected[count++] = '.';
          pointPlaced = true;
        } else if (!pointPlaced && count <= 1) {
          ++window;
        }
        continue;
      }
      if (count <= 1) {
        // Leading blanks, and one blank after a single character, are skipped; the
        // coordinate fields do not count them against their window.
        if (coordinate) ++window;
        continue;
      }
      break;
    }
    // Any other character: a letter in the first field means this line is no record.
    if (kind == FieldKind::First) {
      out.assign(collected, count);
      stop = pos;
      return false;
    }
    break;
  }
  out.assign(collected, count);
  stop = pos;
  // The line ends: that ends a field that holds something. A first field with nothing in it
  // is an empty line or the end of the data.
  return ended || kind != FieldKind::First || count > 0;
}

void ReadT27(std::string_view line, const FieldLayout& layout, RecordFields& fields) {
  const auto columns = [&line](std::size_t start, std::size_t width) {
    return line.substr(std::min(start, line.size()), width);
  };
  fields.first.assign(columns(kT27FirstColumn, kT27ValueWidth));
  fields.second.assign(columns(kT27SecondColumn, kT27ValueWidth));
  fields.firstColumns = {kT27FirstColumn, kT27FirstColumn + kT27ValueWidth};
  fields.secondColumns = {kT27SecondColumn, kT27SecondColumn + kT27ValueWidth};
  fields.heightUsed = layout.heightField > 0;
  if (fields.heightUsed) {
    fields.height.assign(columns(kT27HeightColumn, kT27HeightWidth));
    fields.heightColumns = {kT27HeightColumn, kT27HeightColumn + kT27HeightWidth};
  }
}

}  // namespace

std::size_t FieldStart(std::string_view line, int number, FileTypeCode type, int* missing) {
  if (missing != nullptr) *missing = 0;
  if (number <= 1) return 0;
  int separators = 0;
  if (type == FileTypeCode::Csv) {
    for (std::size_t i = 0; i < line.size(); ++i) {
      if (line[i] == ',' && ++separators == number - 1) return i + 1;
    }
  } else {
    for (std::size_t i = 1; i < line.size(); ++i) {
      if (IsBlank(line[i]) && !IsBlank(line[i - 1]) && ++separators == number - 1) return i + 1;
    }
  }
  if (missing != nullptr) *missing = number - 1 - separators;
  return line.size();
}

std::optional<int> CountSeparators(std::string_view line, FileTypeCode type) {
  int count = 0;
  switch (type) {
    case FileTypeCode::Csv:
      for (const char c : line) count += c == ',' ? 1 : 0;
      return count;
    case FileTypeCode::Ssv:
      for (std::size_t i = 1; i < line.size(); ++i) {
        if (IsBlank(line[i]) && !IsBlank(line[i - 1])) ++count;
      }
      return count;
    case FileTypeCode::T27:
      break;
  }
  return std::nullopt;
}

RecordRead ReadRecord(std::string_view line, const FieldLayout& layout, RecordFields& fields) {
  fields.height.assign(kUnusedHeight);
  fields.heightColumns = {};
  fields.heightUsed = false;
  fields.inputZone.clear();
  fields.outputZone.clear();

  if (layout.type == FileTypeCode::T27) {
    if (line.size() < kT27HeightColumn) return RecordRead::ShortT27;
    ReadT27(line, layout, fields);
    return RecordRead::Record;
  }

  const FileTypeCode type = layout.type;
  fields.firstColumns.start =
      FieldStart(line, layout.firstField, type, &fields.firstColumns.missing);
  if (!ScanField(line, fields.firstColumns.start, FieldKind::First, layout.dmsFields, fields.first,
                 fields.firstColumns.stop)) {
    return RecordRead::EndOfData;
  }
  fields.secondColumns.start =
      FieldStart(line, layout.secondField, type, &fields.secondColumns.missing);
  ScanField(line, fields.secondColumns.start, FieldKind::Second, layout.dmsFields, fields.second,
            fields.secondColumns.stop);
  if (layout.heightField > 0) {
    fields.heightUsed = true;
    fields.heightColumns.start =
        FieldStart(line, layout.heightField, type, &fields.heightColumns.missing);
    ScanField(line, fields.heightColumns.start, FieldKind::Height, false, fields.height,
              fields.heightColumns.stop);
  }
  std::size_t stop = 0;
  if (layout.inputZoneField > 0) {
    ScanField(line, FieldStart(line, layout.inputZoneField, type), FieldKind::Zone, false,
              fields.inputZone, stop);
  }
  if (layout.outputZoneField > 0) {
    ScanField(line, FieldStart(line, layout.outputZoneField, type), FieldKind::Zone, false,
              fields.outputZone, stop);
  }
  return RecordRead::Record;
}

}  // namespace tarvo::fileconv
