// The output line of one converted record.
//
// Layouts:
//   results with input   the input line, then the values: ",E,N" or ",lat,long", then ",H"
//                        when the height is used (Z always for Cartesian output). SSV input
//                        lines shorter than the longest measured line are padded with
//                        blanks, so that the values line up in columns.
//   results only         the input line with each value in place of the field it came from;
//                        every other byte of the line is kept.
//   "Both, E,N,H,Lat & Long"  "East %.3f North %.3f[ Height %.3f] Latitude DDD MM SS.ssss
//                        Longitude DDD MM SS.ssss", whatever the contents choice.
//   T27                  grid or geographic values replace columns 8 to 31 ("%12.3f" twice,
//                        or packed latitude and longitude "%12.8f" with 4 decimals of
//                        seconds); the rest of the record is kept. Cartesian output follows
//                        the record as read, blank-separated.
// The separator is ',' for CSV and a blank otherwise. Metres are written with three decimals.
//
// Latitudes and longitudes arrive as packed values with d - 4 decimals of seconds (d = 8 for
// the 7-parameter method, 9 for NTv2) and are written in the output notation:
//   packed, decimal degrees, degrees and decimal minutes, radians, arc minutes  "%12.*f", d;
//   arc seconds "%12.*f", d - 4;   "DDD MM SS.ssss" as text with d - 4 decimals of seconds.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "angles/angle_format.h"
#include "fileconv/file_conversion_settings.h"
#include "fileconv/record_chain.h"
#include "fileconv/record_reader.h"

namespace tarvo::fileconv {

// What every record of a run is written with.
struct WriterSetup {
  FileTypeCode type = FileTypeCode::Csv;
  Units outputUnits = Units::Grid;
  angles::AngleFormat outputFormat = angles::AngleFormat::Packed;
  int decimals = 8;  // d: decimals of a packed latitude or longitude
  OutputContents contents = OutputContents::ResultsOnly;
  std::size_t longestLineLength = 0;  // SSV alignment, line end included
  // T27 latitude/longitude in and out, both on GDA94: the record is written as read.
  bool t27Unchanged = false;
};

class RecordWriter {
 public:
  explicit RecordWriter(const WriterSetup& setup) : setup_(setup) {}

  // Appends the output line of one record, with its line feed, to `out`. `line` is the
  // input line without its line end, `fields` what the reader found in it.
  void Write(std::string_view line, const RecordFields& fields, const ConvertedRecord& values,
             std::string& out) const;

  // A latitude or longitude (packed) as the output notation writes it.
  void AppendAngle(double packed, std::string& out) const;

 private:
  void WriteWithInput(std::string_view line, const RecordFields& fields,
                      const ConvertedRecord& values, std::string& out) const;
  void WriteResultsOnly(std::string_view line, const RecordFields& fields,
                        const ConvertedRecord& values, std::string& out) const;
  void WriteBoth(const RecordFields& fields, const ConvertedRecord& values, std::string& out) const;
  void WriteT27(std::string_view line, const ConvertedRecord& values, std::string& out) const;
  char Separator() const { return setup_.type == FileTypeCode::Csv ? ',' : ' '; }

  WriterSetup setup_;
};

// The line written before each record while the echo flag is on: the values read, for grid
// and geographic input (Cartesian input has none). `decimals` as for the writer.
void AppendEchoLine(Units inputUnits, const RecordFields& fields, int decimals, std::string& out);

}  // namespace tarvo::fileconv
