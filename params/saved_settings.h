// tarvo_prm.dat: the program's state from one run to the next, written by the main window's
// Save & Exit and read at its start, and by tarvo-convert for its method, input notation,
// parameter set and grid.
//
// 32 lines, one value each, in a fixed order with no header or version; the position of a
// line gives its meaning:
//   1 to 19, 22 to 27  the main window's texts (the window maps them, mainwindow/
//                      saved_settings.h); token lines hold one word (their first word is
//                      read), text lines (12, 22 to 27) are read whole, lines 2 to 4 hold
//                      metres written "%.3f";
//   20                 the parameter set (a whole number)
//   21                 the accuracy method (a whole number: -1 High, 0 Medium)
//   28                 the latitude/longitude input notation (the whole line)
//   29, 30             the stored latitude and longitude, packed, "%.9f"
//   31                 the grid method (a whole number)
//   32                 the grid file's path (the whole line)
// Files written by earlier versions of the program read back unchanged; a file with lines
// missing, or without a whole number where one belongs, is rejected as a whole.
#pragma once

#include <array>
#include <cstddef>
#include <filesystem>
#include <istream>
#include <optional>
#include <string>

#include "engine/transform_settings.h"
#include "ntv2/grid_choice.h"

namespace tarvo::params {

inline constexpr std::size_t kSavedLineCount = 32;

// The values of the 32 lines: as read (the first word of a token line, a text line whole),
// or as they will be written.
class SavedLines {
 public:
  // The value of line `number` (1 to 32).
  const std::string& At(std::size_t number) const { return values_[number - 1]; }
  // Sets line `number` to `value`; a metres line keeps "%.3f" of the value's number.
  void Set(std::size_t number, const std::string& value);
  // The file's contents, each line ended by "\n".
  std::string Contents() const;

 private:
  friend std::optional<SavedLines> ReadSavedLines(std::istream& in, std::string* problem);
  std::array<std::string, kSavedLineCount> values_;
};

// Reads the 32 lines. Nothing, with the reason in `problem` (when given), when lines are
// missing, a whole number is not one, or a value is one the program never writes: a number
// in metres (or a scale factor) that is not finite or lies beyond 1e9 m, an angle text
// holding "nan" or "inf", a position that is no valid packed angle. Such a file comes from a
// calculation gone wrong or from an editor; its values would come back as nonsense. Line
// ends may be "\n" or "\r\n"; a text line keeps every other character.
std::optional<SavedLines> ReadSavedLines(std::istream& in, std::string* problem = nullptr);

// Reads the file at `path` as ReadSavedLines does. Nothing when there is none, it is damaged
// (the reason in `problem`, when given), or it is refused (no regular file, a line longer
// than 1 MiB: then `refusal` says why; it is emptied otherwise).
std::optional<SavedLines> LoadSavedLines(const std::filesystem::path& path, std::string& refusal,
                                         std::string* problem = nullptr);

// Lines 20, 21 and 28 to 32 into the settings and the grid choice, and back.
void TakeSavedSettings(const SavedLines& lines, engine::TransformSettings& settings,
                       ntv2::GridChoice& grid);
void PutSavedSettings(const engine::TransformSettings& settings, const ntv2::GridChoice& grid,
                      SavedLines& lines);

}  // namespace tarvo::params
