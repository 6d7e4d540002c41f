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
// and, only in a file written by a session that chose GDA2020 (an MGA2020 side or a
// GDA94 -> GDA2020 grid), three lines more, which earlier versions never read:
//   33, 34             the From and To grid systems (token lines; lines 1 and 10 then hold
//                      "GDA/MGA" for an MGA2020 side, the nearest system an earlier version
//                      knows, where "MGA2020" would be taken for an AGD system)
//   35                 the GDA94 -> GDA2020 grid file's path (the whole line)
// Files written by earlier versions of the program read back unchanged; a file with lines
// missing, or without a whole number where one belongs, is rejected as a whole. A file whose
// three GDA2020 lines are not all there is read as one without them.
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
inline constexpr std::size_t kGda2020LineCount = 35;
inline constexpr std::size_t kFromSystemLine = 33;
inline constexpr std::size_t kToSystemLine = 34;
inline constexpr std::size_t kGda2020GridLine = 35;

// The values of the 32 lines (35 with the GDA2020 lines): as read (the first word of a token
// line, a text line whole), or as they will be written.
class SavedLines {
 public:
  // The value of line `number` (1 to 35; lines 33 to 35 are empty without the GDA2020 lines).
  const std::string& At(std::size_t number) const { return values_[number - 1]; }
  // Sets line `number` to `value`; a metres line keeps "%.3f" of the value's number. Setting
  // one of lines 33 to 35 makes the file have all three.
  void Set(std::size_t number, const std::string& value);
  bool hasGda2020Lines() const { return gda2020Lines_; }
  // The file's contents, each line ended by "\n".
  std::string Contents() const;

 private:
  friend std::optional<SavedLines> ReadSavedLines(std::istream& in, std::string* problem);
  std::array<std::string, kGda2020LineCount> values_;
  bool gda2020Lines_ = false;
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

// Lines 20, 21, 28 to 32 and 35 into the settings and the grid choice, and back (line 35
// only for a GDA94 -> GDA2020 grid).
void TakeSavedSettings(const SavedLines& lines, engine::TransformSettings& settings,
                       ntv2::GridChoice& grid);
void PutSavedSettings(const engine::TransformSettings& settings, const ntv2::GridChoice& grid,
                      SavedLines& lines);

}  // namespace tarvo::params
