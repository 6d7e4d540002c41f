// The description of one batch conversion of a coordinate file, as the file conversion
// dialog keeps it, and the file tarvofile.dat that carries it from one opening of the dialog
// to the next.
//
// Every setting is the text the dialog shows (system, zone and units labels, file names,
// field numbers), converted only when a run uses it; so a settings file written by an earlier
// version of the program reads back byte for byte. tarvofile.dat holds sixteen of them, one
// per line, in a fixed order with no header. The zone fields, the latitude/longitude output
// format and the method texts are not saved: they are rebuilt from the transformation
// settings each time the dialog opens (TakeMethodSettings).
//
// BatchValues are the few values that outlive the dialog for the whole program run (file
// type, separator count, echo flag, longest SSV line). The program owns one and passes it by
// reference to the dialog and the run.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "engine/transform_settings.h"
#include "ntv2/grid_choice.h"

namespace tarvo::fileconv {

// Units labels of the input and output units lists. The last is reachable only through
// tarvofile.dat; it writes grid and geographic results on one line.
inline constexpr std::string_view kGridUnits = "East, North, (Height)";
inline constexpr std::string_view kGeographicUnits = "Latitude,Longitude,(Height)";
inline constexpr std::string_view kCartesianUnits = "X,Y & Z";
inline constexpr std::string_view kBothUnits = "Both, E,N,H,Lat & Long";

enum class Units { Grid, Geographic, Cartesian, Both };

// The units a label names (compared byte for byte), or nothing.
std::optional<Units> FindUnits(std::string_view label);

// File types: the code the run uses and the label the dialog shows and saves.
enum class FileTypeCode { Csv, Ssv, T27 };
inline constexpr std::string_view kCsvLabel = "CSV - Comma Separated";
inline constexpr std::string_view kSsvLabel = "SSV - Space(s) Separated";
inline constexpr std::string_view kT27Label = "T27 - ACS Input";

std::string_view FileTypeLabel(FileTypeCode code);
std::optional<FileTypeCode> FindFileType(std::string_view label);

// What the output file shows of each record, asked before each run: the input line followed
// by the converted values, or the input line with the converted values in place of the
// fields they came from.
enum class OutputContents { ResultsWithInput, ResultsOnly };

// Texts of the field lists that are not field numbers.
inline constexpr std::string_view kIgnore = "Ignore";
inline constexpr std::string_view kNotUsed = "Not Used";
inline constexpr std::string_view kYes = "Yes";
inline constexpr std::string_view kNo = "No ";

// Method texts.
inline constexpr std::string_view kMediumAccuracyText = "Medium Accuracy";
inline constexpr std::string_view kHighAccuracyText = "High Accuracy - NTv2";

struct FileConversionSettings {
  // --- Saved in tarvofile.dat, lines 1 to 16 in this order ------------------------------
  std::string inputSystem = "AGD/AMG";
  std::string outputSystem = "GDA/MGA";
  std::string inputZone = "55";
  std::string outputZone = "55";
  std::string inputUnits = std::string(kGridUnits);
  std::string inputFileName = "C:\\TARVO\\INPUT.TXT";
  std::string outputUnits = std::string(kGridUnits);
  std::string outputFileName = "C:\\TARVO\\OUTPUT.TXT";
  std::string fileTypeLabel = std::string(kCsvLabel);
  std::string firstFieldLabel = "East Field";
  std::string secondFieldLabel = "North Field";
  std::string firstFieldNumber;
  std::string secondFieldNumber;
  std::string heightFieldLabel = "Height Field";
  // A field number, "Ignore" or "Not Used" (CSV, SSV); "Yes", "No " or "Not Used" (T27).
  std::string heightField = std::string(kIgnore);
  std::string headerLineCount = "0";

  // --- Rebuilt at each opening ---------------------------------------------------------
  std::string inputZoneField = std::string(kNotUsed);  // "Not Used" or a field number
  std::string outputZoneField = std::string(kNotUsed);
  std::string outputFormat;  // latitude/longitude output notation (an AngleFormat label)
  std::string methodText = std::string(kMediumAccuracyText);
  std::string parameterDescription = "National  -->  AGD84<>GDA";
  bool gridFlag = false;  // the High Accuracy (NTv2) method is in use
};

// The values of the batch conversion that live as long as the program.
struct BatchValues {
  FileTypeCode fileTypeCode = FileTypeCode::Csv;
  // Separators in the last previewed data line; the field lists offer 1 to count + 1.
  int separatorCount = 0;
  // On while the output units are "Both, E,N,H,Lat & Long": records are written with an
  // echo line of their input values.
  bool echo = false;
  // The longest SSV data line measured, line end included; SSV output pads shorter input
  // lines to it so that the values line up.
  std::size_t longestLineLength = 0;
};

inline constexpr std::string_view kSettingsFileName = "tarvofile.dat";

// Reads `folder`/tarvofile.dat into `settings`. Lines 1 to 4, 12, 13 and 16 give the first
// word of their line (delimited by white space); the others the whole line without its line
// end, at most 38 characters (the file names, lines 6 and 8, at most 258), less a carriage
// return the cut leaves at its end; so every value reads back as it is written. Reading
// line 7 sets the echo flag (on exactly for "Both, E,N,H,Lat & Long"), reading line 9 the
// file type code (a label that names no type leaves the code). Lines missing from a short
// file keep their values. Returns false, changing nothing, when the file cannot be opened,
// or is refused (no regular file, a line longer than 1 MiB): then `refusal`, when given,
// says why (it is emptied otherwise).
bool LoadFileConversionSettings(const std::filesystem::path& folder,
                                FileConversionSettings& settings, BatchValues& batch,
                                std::string* refusal = nullptr);

// Writes the sixteen saved settings to `folder`/tarvofile.dat, each followed by a line feed,
// replacing the file whole. Returns false (the old file untouched) when it cannot be written.
bool SaveFileConversionSettings(const std::filesystem::path& folder,
                                const FileConversionSettings& settings);

// New input units, as picking them sets the field labels and the height field: for T27 the
// labels are emptied and the height is "No"; otherwise the labels name the units' fields
// ("East Field", "Latitude Field", "X Field" ... "Z Field") and the height field is
// "Ignore", or "Not Used" under the High Accuracy method.
void TakeInputUnits(FileConversionSettings& settings, const std::string& units,
                    FileTypeCode fileType);

// Takes over what the dialog shows of the transformation settings when it opens: the
// latitude/longitude output format becomes the input notation; the parameter description
// names the parameter set; under the High Accuracy method the grid flag is set, the method
// text, the grid's description (the set's name for a grid type without one), the height
// field "Not Used", and Cartesian output units become grid units: a grid shift carries no
// height, so the High Accuracy method offers no Cartesian units.
void TakeMethodSettings(FileConversionSettings& settings,
                        const engine::TransformSettings& transform, const ntv2::GridChoice& grid);

}  // namespace tarvo::fileconv
