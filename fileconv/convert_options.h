// The command line of tarvo-convert: GNU-style long options (with a few short aliases), read
// into the values they set. Every value is checked for its form here; whether the values
// make a run that can go ahead is decided by the run's own checks.
//
// Option values and their short forms:
//   --from, --to         SYSTEM[:ZONE] or EPSG:CODE, as chain/system_text.h reads them
//   --input-units,       en (grid), geo (latitude, longitude), xyz, or the dialog's labels;
//   --output-units       output also "both" (the settings file's "Both, E,N,H,Lat & Long")
//   --type               csv, ssv, t27 (any case) or the dialog's labels
//   --fields             FIRST,SECOND[,HEIGHT]: field numbers from 1; HEIGHT may be "ignore"
//   --t27-height         yes or no
//   --zone-fields        IN[,OUT]: a field number, or "-" for not used
//   --input-format,      packed, dms, degrees, degmin, radians, seconds, minutes, or the
//   --output-format      notation labels ("DDD.MMSSsssss", ...)
//   --method             medium (7-parameter) or ntv2 (high)
//   --grid, --grid2020   an NTv2 file: AGD -> GDA94, GDA94 -> GDA2020
//   --params             national, nsw-vic, act, tasmania, nt, or a file of nine lines
//   --contents           with-input or results-only
//   --on-bad-record      stop or skip
//   --jobs               a number of threads, 1 to 1024
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "chain/system_text.h"
#include "engine/transform_settings.h"
#include "fileconv/batch_run.h"
#include "fileconv/file_conversion_settings.h"

namespace tarvo::fileconv {

// A side of the conversion: the system label and, when given, the zone text, the form of
// the coordinates and the AGD datum an EPSG code names.
using SideOption = chain::SystemText;

// The coordinate field numbers as the dialog holds them (texts).
struct FieldsOption {
  std::string first;
  std::string second;
  std::optional<std::string> height;  // a number or "Ignore"; nothing: the method's default
};

struct ZoneFieldsOption {
  std::string input;  // a number or "Not Used"
  std::optional<std::string> output;
};

struct ConvertOptions {
  std::optional<std::string> input;   // "-": standard input
  std::optional<std::string> output;  // "-": standard output
  std::optional<SideOption> from;
  std::optional<SideOption> to;
  std::optional<std::string> inputUnits;  // units labels
  std::optional<std::string> outputUnits;
  std::optional<fileconv::FileTypeCode> type;
  std::optional<FieldsOption> fields;
  std::optional<std::string> t27Height;  // "Yes" or "No "
  std::optional<ZoneFieldsOption> zoneFields;
  std::optional<std::string> headerLines;
  std::optional<std::string> inputFormat;  // notation labels
  std::optional<std::string> outputFormat;
  std::optional<engine::AccuracyMethod> method;
  std::optional<std::string> grid;
  std::optional<std::string> grid2020;    // GDA94 -> GDA2020
  std::optional<int> preset;              // 0 to 4
  std::optional<std::string> paramsFile;  // a parameter file instead of a preset
  std::optional<fileconv::OutputContents> contents;
  std::optional<fileconv::BadRecords> badRecords;
  std::optional<unsigned> jobs;  // threads converting the records
  bool force = false;
  bool quiet = false;
  bool help = false;
  bool version = false;
};

// Reads the arguments after the program name. On a usage error returns nothing and puts the
// reason in `error`.
std::optional<ConvertOptions> ParseConvertOptions(const std::vector<std::string>& args,
                                                  std::string& error);

// The text of --help.
std::string HelpText();

}  // namespace tarvo::fileconv
