#include "fileconv/file_conversion_settings.h"

#include <array>
#include <sstream>
#include <utility>

#include "params/parameter_sets.h"
#include "text/line_input.h"
#include "text/text_file.h"

namespace tarvo::fileconv {
namespace {

// The longest value a line of tarvofile.dat gives: the program read each line with room for
// 39 characters (259 for the file names), the last of them being the line end.
constexpr std::size_t kMaxLabelLength = 38;
constexpr std::size_t kMaxFileNameLength = 258;

constexpr std::size_t kSavedLineCount = 16;

// White space around and within a line. A carriage return counts: a value the program
// writes must not end in one, since reading takes it as part of the line end.
constexpr std::string_view kSpace = " \t\r\n\v\f";

// The first word of a line: white space before it skipped, ended by white space.
std::string FirstWord(std::string_view line) {
  const std::size_t start = line.find_first_not_of(kSpace);
  if (start == std::string_view::npos) return {};
  const std::size_t end = line.find_first_of(kSpace, start);
  return std::string(line.substr(start, end == std::string_view::npos ? end : end - start));
}

// The line cut to `limit` characters, without a carriage return the cut left at its end.
std::string Cut(std::string_view line, std::size_t limit) {
  line = line.substr(0, limit);
  while (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return std::string(line);
}

// The sixteen saved settings in file order.
template <class Settings>
auto SavedFields(Settings& s) {
  return std::array{
      &s.inputSystem,       &s.outputSystem,     &s.inputZone,        &s.outputZone,
      &s.inputUnits,        &s.inputFileName,    &s.outputUnits,      &s.outputFileName,
      &s.fileTypeLabel,     &s.firstFieldLabel,  &s.secondFieldLabel, &s.firstFieldNumber,
      &s.secondFieldNumber, &s.heightFieldLabel, &s.heightField,      &s.headerLineCount};
}
static_assert(std::tuple_size_v<decltype(SavedFields(std::declval<FileConversionSettings&>()))> ==
              kSavedLineCount);

}  // namespace

std::optional<Units> FindUnits(std::string_view label) {
  if (label == kGridUnits) return Units::Grid;
  if (label == kGeographicUnits) return Units::Geographic;
  if (label == kCartesianUnits) return Units::Cartesian;
  if (label == kBothUnits) return Units::Both;
  return std::nullopt;
}

std::string_view FileTypeLabel(FileTypeCode code) {
  switch (code) {
    case FileTypeCode::Csv:
      return kCsvLabel;
    case FileTypeCode::Ssv:
      return kSsvLabel;
    case FileTypeCode::T27:
      return kT27Label;
  }
  return kCsvLabel;
}

std::optional<FileTypeCode> FindFileType(std::string_view label) {
  if (label == kCsvLabel) return FileTypeCode::Csv;
  if (label == kSsvLabel) return FileTypeCode::Ssv;
  if (label == kT27Label) return FileTypeCode::T27;
  return std::nullopt;
}

bool LoadFileConversionSettings(const std::filesystem::path& folder,
                                FileConversionSettings& settings, BatchValues& batch,
                                std::string* refusal) {
  std::string why;
  const auto head =
      text::ReadFileHead(folder / kSettingsFileName, kSavedLineCount, "settings file", why);
  if (refusal != nullptr) *refusal = std::move(why);
  if (!head) return false;
  std::istringstream in(*head);

  const auto fields = SavedFields(settings);
  std::string line;
  for (std::size_t index = 0; index < kSavedLineCount && text::ReadLine(in, line); ++index) {
    const std::size_t lineNumber = index + 1;
    switch (lineNumber) {
      case 1:
      case 2:
      case 3:
      case 4:
      case 12:
      case 13:
      case 16:
        *fields[index] = FirstWord(line);
        break;
      case 6:
      case 8:
        *fields[index] = Cut(line, kMaxFileNameLength);
        break;
      default:
        *fields[index] = Cut(line, kMaxLabelLength);
        break;
    }
    if (lineNumber == 7) batch.echo = settings.outputUnits == kBothUnits;
    if (lineNumber == 9) {
      if (const auto code = FindFileType(settings.fileTypeLabel)) batch.fileTypeCode = *code;
    }
  }
  return true;
}

bool SaveFileConversionSettings(const std::filesystem::path& folder,
                                const FileConversionSettings& settings) {
  std::string contents;
  for (const std::string* field : SavedFields(settings)) {
    contents += *field;
    contents += '\n';
  }
  return text::WriteFileAtomically(folder / kSettingsFileName, contents);
}

void TakeInputUnits(FileConversionSettings& s, const std::string& units, FileTypeCode fileType) {
  s.inputUnits = units;
  if (fileType == FileTypeCode::T27) {
    s.firstFieldLabel.clear();
    s.secondFieldLabel.clear();
    s.heightField = "No";
    return;
  }
  s.heightFieldLabel = "Height Field";
  const std::optional<Units> found = FindUnits(units);
  if (found == Units::Grid) {
    s.firstFieldLabel = "East Field";
    s.secondFieldLabel = "North Field";
  } else if (found == Units::Geographic) {
    s.firstFieldLabel = "Latitude Field";
    s.secondFieldLabel = "Longitude Field";
  } else if (found == Units::Cartesian) {
    s.firstFieldLabel = "X Field";
    s.secondFieldLabel = "Y Field";
    s.heightFieldLabel = "Z Field";
  }
  s.heightField = s.gridFlag ? kNotUsed : kIgnore;
}

void TakeMethodSettings(FileConversionSettings& settings,
                        const engine::TransformSettings& transform, const ntv2::GridChoice& grid) {
  settings.outputFormat = transform.inputFormat;
  const std::optional<std::string> setName = params::ParameterSetLabel(transform.parameterSet);
  if (setName) settings.parameterDescription = *setName;

  if (transform.accuracyMethod == engine::AccuracyMethod::High) {
    settings.heightField = kNotUsed;
    settings.methodText = kHighAccuracyText;
    settings.gridFlag = true;
    if (settings.outputUnits == kCartesianUnits) settings.outputUnits = kGridUnits;
    if (const auto gridName = ntv2::GridLabel(grid)) settings.parameterDescription = *gridName;
  } else {
    settings.methodText = kMediumAccuracyText;
    settings.gridFlag = false;
  }
}

}  // namespace tarvo::fileconv
