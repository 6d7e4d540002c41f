#include "params/saved_settings.h"

#include <cctype>
#include <cmath>
#include <sstream>
#include <vector>

#include "angles/packed_angle.h"
#include "engine/coordinate_limits.h"
#include "text/ascii.h"
#include "text/line_input.h"
#include "text/number_text.h"
#include "text/text_file.h"

namespace tarvo::params {
namespace {

enum class Kind {
  Token,   // one word, written as it is
  Metres,  // one word, written "%.3f" of its value
  Text,    // the whole line
};

Kind KindOf(std::size_t line) {
  switch (line) {
    case 2:
    case 3:
    case 4:
      return Kind::Metres;
    case 12:
    case 22:
    case 23:
    case 24:
    case 25:
    case 26:
    case 27:
    case 28:
    case 32:
    case kGda2020GridLine:
      return Kind::Text;
    default:
      return Kind::Token;
  }
}

// The first blank-delimited word of a line.
std::string Token(const std::string& line) {
  size_t begin = 0;
  while (begin < line.size() && std::isspace(static_cast<unsigned char>(line[begin]))) ++begin;
  size_t end = begin;
  while (end < line.size() && !std::isspace(static_cast<unsigned char>(line[end]))) ++end;
  return line.substr(begin, end - begin);
}

// A whole number at the start of a line's word, as "%d" reads it.
std::optional<int> Integer(const std::string& line) {
  const std::string word = Token(line);
  const size_t first = (!word.empty() && (word[0] == '-' || word[0] == '+')) ? 1 : 0;
  if (first >= word.size() || !std::isdigit(static_cast<unsigned char>(word[first]))) {
    return std::nullopt;
  }
  return text::ToInt(word);
}

// The lines that hold a number in metres (or a scale factor) and the angle texts: what the
// program writes there is a coordinate (engine/coordinate_limits.h) or no number at all.
constexpr size_t kNumberLines[] = {2, 3, 4, 5, 7, 8, 9, 19};
constexpr size_t kAngleLines[] = {22, 23, 24, 25, 26, 27};

// A number the program never writes on a number line: one that is not finite or lies beyond
// 1e9 m. A text that starts with no number is no such value (it counts as 0).
bool HoldsNoCoordinate(const std::string& line) {
  const std::optional<double> value = text::LeadingNumber(Token(line));
  return value && !engine::IsCoordinate(*value);
}

// What a NaN or an infinity prints as in an angle text; the program never writes either.
bool HoldsNonFinite(const std::string& line) {
  const std::string lower = text::ToLowerAscii(line);
  return lower.find("nan") != std::string::npos || lower.find("inf") != std::string::npos;
}

// A packed position that is a finite, valid angle.
bool IsPosition(double packed) {
  return std::isfinite(packed) && angles::PackedToRadians(packed) != angles::kInvalidAngle;
}

// Why the lines cannot be used as they stand, or nothing.
std::optional<std::string> Problem(const std::vector<std::string>& lines) {
  const auto at = [&lines](size_t number) -> const std::string& { return lines[number - 1]; };
  for (const size_t number : {20, 21, 31}) {
    if (!Integer(at(number))) {
      return text::Format("line %zu (\"%s\") is no whole number", number, at(number).c_str());
    }
  }
  for (const size_t number : kNumberLines) {
    if (HoldsNoCoordinate(at(number))) {
      return text::Format("line %zu (\"%s\") is no coordinate", number, at(number).c_str());
    }
  }
  for (const size_t number : kAngleLines) {
    if (HoldsNonFinite(at(number))) {
      return text::Format("line %zu (\"%s\") is no angle", number, at(number).c_str());
    }
  }
  for (const size_t number : {29, 30}) {
    if (!IsPosition(text::ToDouble(at(number)))) {
      return text::Format("line %zu (\"%s\") is no position", number, at(number).c_str());
    }
  }
  return std::nullopt;
}

}  // namespace

void SavedLines::Set(std::size_t number, const std::string& value) {
  gda2020Lines_ = gda2020Lines_ || number > kSavedLineCount;
  values_[number - 1] =
      KindOf(number) == Kind::Metres ? text::Format("%.3f", text::ToDouble(value)) : value;
}

std::string SavedLines::Contents() const {
  std::string contents;
  const std::size_t count = gda2020Lines_ ? kGda2020LineCount : kSavedLineCount;
  for (std::size_t i = 0; i < count; ++i) contents += values_[i] + "\n";
  return contents;
}

std::optional<SavedLines> ReadSavedLines(std::istream& in, std::string* problem) {
  std::vector<std::string> lines;
  std::string line;
  while (lines.size() < kGda2020LineCount && text::ReadLine(in, line)) lines.push_back(line);
  if (lines.size() < kSavedLineCount) {
    if (problem) *problem = text::Format("the file has %zu lines, not 32", lines.size());
    return std::nullopt;
  }
  if (const auto why = Problem(lines)) {
    if (problem) *problem = *why;
    return std::nullopt;
  }
  SavedLines saved;
  saved.gda2020Lines_ = lines.size() == kGda2020LineCount;
  for (std::size_t number = 1;
       number <= (saved.gda2020Lines_ ? kGda2020LineCount : kSavedLineCount); ++number) {
    const std::string& read = lines[number - 1];
    saved.values_[number - 1] = KindOf(number) == Kind::Text ? read : Token(read);
  }
  return saved;
}

std::optional<SavedLines> LoadSavedLines(const std::filesystem::path& path, std::string& refusal,
                                         std::string* problem) {
  const auto head = text::ReadFileHead(path, kGda2020LineCount, "settings file", refusal);
  if (!head) return std::nullopt;
  std::istringstream in(*head);
  return ReadSavedLines(in, problem);
}

void TakeSavedSettings(const SavedLines& lines, engine::TransformSettings& settings,
                       ntv2::GridChoice& grid) {
  settings.parameterSet = *Integer(lines.At(20));
  settings.accuracyMethod = static_cast<engine::AccuracyMethod>(*Integer(lines.At(21)));
  settings.inputFormat = lines.At(28);
  settings.latitude = text::ToDouble(lines.At(29));
  settings.longitude = text::ToDouble(lines.At(30));
  grid.gridMethod = static_cast<ntv2::GridMethod>(*Integer(lines.At(31)));
  grid.gridFilePath = lines.At(32);
  grid.gda2020GridPath = lines.At(kGda2020GridLine);
}

void PutSavedSettings(const engine::TransformSettings& settings, const ntv2::GridChoice& grid,
                      SavedLines& lines) {
  lines.Set(20, text::Format("%d", settings.parameterSet));
  lines.Set(21, text::Format("%d", static_cast<int>(settings.accuracyMethod)));
  lines.Set(28, settings.inputFormat);
  lines.Set(29, text::Format("%.9f", settings.latitude));
  lines.Set(30, text::Format("%.9f", settings.longitude));
  lines.Set(31, text::Format("%d", static_cast<int>(grid.gridMethod)));
  lines.Set(32, grid.gridFilePath);
  if (!grid.gda2020GridPath.empty()) lines.Set(kGda2020GridLine, grid.gda2020GridPath);
}

}  // namespace tarvo::params
