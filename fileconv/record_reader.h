// Reading the records of a coordinate file: whole lines, and the fields of CSV, SSV and T27
// records.
//
// CSV and SSV records are lines of fields. Field 1 starts at column 0; in CSV field n starts
// after the (n-1)th comma, in SSV one column after the (n-1)th end of a word (a blank or tab
// that follows a character which is neither). A field number beyond the fields of a line
// reads as an empty field.
//
// A coordinate field (the first and second) is scanned from its start over 20 characters:
// digits, '-' and '.' are collected, a comma ends it, blanks and tabs are skipped while at
// most one character has been collected (each widening the window by one, so leading blanks
// cost nothing and "1 234" reads as 1234) and end it after that; an exponent after a number
// ("1.5e2", "2E-3") is collected as part of it; any other character ends it. The first
// field decides whether the line is a record at all: a letter in it, or a line that ends
// before it collected anything (an empty line, the end of the data), ends the run. In CSV
// with latitudes and longitudes in "DDD MM SS.ssss" the first blank after the degrees
// becomes the point and later blanks and points are skipped, so "35 12 34.5678" reads as
// the packed number 35.12345678. The height and zone fields are scanned the same way over
// exactly 20 characters; zone fields skip '/' and '\' as well.
//
// T27 records have fixed columns (counting from 1): 8 to 19 the first value, 20 to 31 the
// second, 32 to 40 the height. A T27 line shorter than 31 characters holds no values.
//
// The reader keeps, for each field, the column where it starts and the column where its
// scan stopped: the results-only writer puts the converted values in those places.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "fileconv/file_conversion_settings.h"

namespace tarvo::fileconv {

// The columns of a field in its line: where it starts and where its scan stopped. A field
// beyond the last of its line starts at the line's end and lacks `missing` separators.
struct FieldColumns {
  std::size_t start = 0;
  std::size_t stop = 0;
  int missing = 0;
};

// Where the fields of a run's records are. Field numbers count from 1; 0 means not used.
struct FieldLayout {
  FileTypeCode type = FileTypeCode::Csv;
  int firstField = 1;
  int secondField = 2;
  int heightField = 0;  // T27: any number above 0 reads columns 32 to 40
  int inputZoneField = 0;
  int outputZoneField = 0;
  // CSV only: the first and second fields are latitude and longitude in "DDD MM SS.ssss".
  bool dmsFields = false;
};

// What one record holds. Reused from record to record (the strings keep their capacity).
struct RecordFields {
  std::string first;
  std::string second;
  std::string height;  // "0.00" when the height is not used
  FieldColumns firstColumns;
  FieldColumns secondColumns;
  FieldColumns heightColumns;
  bool heightUsed = false;
  std::string inputZone;  // as collected; empty when the zone field is not used
  std::string outputZone;
};

enum class RecordRead {
  Record,     // the fields are read
  EndOfData,  // the first field cannot be read: the run ends here
  ShortT27,   // a T27 line too short to hold values
};

// The text a height that is not used reads as.
inline constexpr std::string_view kUnusedHeight = "0.00";

// Reads the fields of one line (without its line end) into `fields`.
RecordRead ReadRecord(std::string_view line, const FieldLayout& layout, RecordFields& fields);

// The column where field `number` (from 1) of a CSV or SSV line starts, or the line's length
// when the line has fewer fields; then `missing`, when given, receives how many separators
// the line lacks before that field.
std::size_t FieldStart(std::string_view line, int number, FileTypeCode type,
                       int* missing = nullptr);

// The number of separators the preview counts in a line: commas for CSV, ends of words for
// SSV (none for lines shorter than two characters); nothing for T27, whose count stays as it
// was.
std::optional<int> CountSeparators(std::string_view line, FileTypeCode type);

}  // namespace tarvo::fileconv
