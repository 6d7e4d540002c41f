// tarvo_prm.dat: the main window's state from one run to the next.
//
// 32 lines, one value each, in a fixed order with no header or version; the position of a
// line gives its meaning. Token lines hold one word (their first word is read), text lines
// are read whole, number lines hold a decimal number. Files written by earlier versions of
// the program read back unchanged; a file with lines missing, or without a whole number
// where one belongs, is rejected as a whole.
#pragma once

#include <filesystem>
#include <istream>
#include <string>

#include "engine/transform_settings.h"
#include "mainwindow/window_state.h"
#include "ntv2/grid_choice.h"

namespace tarvo::mainwindow {

// Reads the 32 lines into the window's texts, the transformation settings and the grid
// choice. Returns false, changing nothing and putting the reason into `problem` (when
// given), when lines are missing, a whole number is not one, or a value is one the program
// never writes: a number in metres (or a scale factor) that is not finite or lies beyond
// 1e9 m, an angle text holding "nan" or "inf", a position that is no valid packed angle.
// Such a file comes from a calculation gone wrong or from an editor; its values would come
// back as nonsense. Line ends may be "\n" or "\r\n"; a text line keeps every other
// character.
bool ReadSavedSettings(std::istream& in, WindowTexts& texts, engine::TransformSettings& settings,
                       ntv2::GridChoice& grid, std::string* problem = nullptr);

// Reads the file at `path` as ReadSavedSettings does. Returns false when there is none, it is
// damaged, or it is refused (no regular file, a line longer than 1 MiB: then `refusal` says
// why; it is emptied otherwise). A damaged file's reason goes into `problem` (when given).
bool LoadSavedSettings(const std::filesystem::path& path, WindowTexts& texts,
                       engine::TransformSettings& settings, ntv2::GridChoice& grid,
                       std::string& refusal, std::string* problem = nullptr);

// The file's contents ("\n" line ends). Lines 24 and 25 hold the To texts as they are, so
// the caller puts the standard display form there first.
std::string FormatSavedSettings(const WindowTexts& texts, const engine::TransformSettings& settings,
                                const ntv2::GridChoice& grid);

}  // namespace tarvo::mainwindow
