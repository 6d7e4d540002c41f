#include "mainwindow/saved_settings.h"

#include <cctype>
#include <cmath>
#include <optional>
#include <sstream>
#include <vector>

#include "angles/packed_angle.h"
#include "engine/coordinate_limits.h"
#include "text/line_input.h"
#include "text/number_text.h"
#include "text/text_file.h"

namespace tarvo::mainwindow {
namespace {

constexpr size_t kLineCount = 32;

enum class Kind {
  Token,   // one word, written as it is
  Metres,  // one word, written "%.3f" of its value
  Text,    // the whole line
};

struct TextLine {
  size_t line;  // 1-based
  Kind kind;
  std::string WindowTexts::*field;
};

// The window texts kept in the file; lines 20, 21 and 28 to 32 belong to the settings.
constexpr TextLine kTextLines[] = {
    {1, Kind::Token, &WindowTexts::fromSystem},
    {2, Kind::Metres, &WindowTexts::fromEast},
    {3, Kind::Metres, &WindowTexts::fromHeight},
    {4, Kind::Metres, &WindowTexts::fromNorth},
    {5, Kind::Token, &WindowTexts::fromScaleFactor},
    {6, Kind::Token, &WindowTexts::fromZone},
    {7, Kind::Token, &WindowTexts::toEast},
    {8, Kind::Token, &WindowTexts::toNorth},
    {9, Kind::Token, &WindowTexts::toScaleFactor},
    {10, Kind::Token, &WindowTexts::toSystem},
    {11, Kind::Token, &WindowTexts::toZone},
    {12, Kind::Text, &WindowTexts::parameterSetLabel},
    {13, Kind::Token, &WindowTexts::fromLabel1},
    {14, Kind::Token, &WindowTexts::fromLabel2},
    {15, Kind::Token, &WindowTexts::fromLabel3},
    {16, Kind::Token, &WindowTexts::toLabel1},
    {17, Kind::Token, &WindowTexts::toLabel2},
    {18, Kind::Token, &WindowTexts::toLabel3},
    {19, Kind::Token, &WindowTexts::toHeight},
    {22, Kind::Text, &WindowTexts::fromLatitude},
    {23, Kind::Text, &WindowTexts::fromLongitude},
    {24, Kind::Text, &WindowTexts::toLatitude},
    {25, Kind::Text, &WindowTexts::toLongitude},
    {26, Kind::Text, &WindowTexts::fromConvergence},
    {27, Kind::Text, &WindowTexts::toConvergence},
};

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
  std::string lower;
  for (const char c : line) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
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

bool ReadSavedSettings(std::istream& in, WindowTexts& texts, engine::TransformSettings& settings,
                       ntv2::GridChoice& grid, std::string* problem) {
  std::vector<std::string> lines;
  std::string line;
  while (lines.size() < kLineCount && text::ReadLine(in, line)) lines.push_back(line);
  if (lines.size() < kLineCount) {
    if (problem) *problem = text::Format("the file has %zu lines, not 32", lines.size());
    return false;
  }
  if (const auto why = Problem(lines)) {
    if (problem) *problem = *why;
    return false;
  }
  const auto at = [&lines](size_t number) -> const std::string& { return lines[number - 1]; };

  const auto parameterSet = Integer(at(20));
  const auto accuracyMethod = Integer(at(21));
  const auto gridMethod = Integer(at(31));

  for (const TextLine& spec : kTextLines) {
    texts.*spec.field = spec.kind == Kind::Text ? at(spec.line) : Token(at(spec.line));
  }
  settings.parameterSet = *parameterSet;
  settings.accuracyMethod = static_cast<engine::AccuracyMethod>(*accuracyMethod);
  settings.inputFormat = at(28);
  settings.latitude = text::ToDouble(at(29));
  settings.longitude = text::ToDouble(at(30));
  grid.gridMethod = static_cast<ntv2::GridMethod>(*gridMethod);
  grid.gridFilePath = at(32);
  return true;
}

bool LoadSavedSettings(const std::filesystem::path& path, WindowTexts& texts,
                       engine::TransformSettings& settings, ntv2::GridChoice& grid,
                       std::string& refusal, std::string* problem) {
  const auto head = text::ReadFileHead(path, kLineCount, "settings file", refusal);
  if (!head) return false;
  std::istringstream in(*head);
  return ReadSavedSettings(in, texts, settings, grid, problem);
}

std::string FormatSavedSettings(const WindowTexts& texts, const engine::TransformSettings& settings,
                                const ntv2::GridChoice& grid) {
  std::vector<std::string> lines(kLineCount);
  for (const TextLine& spec : kTextLines) {
    const std::string& value = texts.*spec.field;
    lines[spec.line - 1] =
        spec.kind == Kind::Metres ? text::Format("%.3f", text::ToDouble(value)) : value;
  }
  lines[19] = text::Format("%d", settings.parameterSet);
  lines[20] = text::Format("%d", static_cast<int>(settings.accuracyMethod));
  lines[27] = settings.inputFormat;
  lines[28] = text::Format("%.9f", settings.latitude);
  lines[29] = text::Format("%.9f", settings.longitude);
  lines[30] = text::Format("%d", static_cast<int>(grid.gridMethod));
  lines[31] = grid.gridFilePath;
  std::string contents;
  for (const std::string& value : lines) contents += value + "\n";
  return contents;
}

}  // namespace tarvo::mainwindow
