// The main window's texts in tarvo_prm.dat (params/saved_settings.h holds the file itself):
// which line keeps which text.
#pragma once

#include <filesystem>
#include <istream>
#include <string>

#include "engine/transform_settings.h"
#include "mainwindow/window_state.h"
#include "ntv2/grid_choice.h"

namespace tarvo::mainwindow {

// Reads the 32 lines (35 with the GDA2020 lines, params/saved_settings.h) into the window's
// texts, the transformation settings and the grid
// choice. Returns false, changing nothing and putting the reason into `problem` (when
// given), when the file is refused as params::ReadSavedLines says.
bool ReadSavedSettings(std::istream& in, WindowTexts& texts, engine::TransformSettings& settings,
                       ntv2::GridChoice& grid, std::string* problem = nullptr);

// Reads the file at `path` as ReadSavedSettings does. Returns false when there is none, it is
// damaged, or it is refused (no regular file, a line longer than 1 MiB: then `refusal` says
// why; it is emptied otherwise). A damaged file's reason goes into `problem` (when given).
bool LoadSavedSettings(const std::filesystem::path& path, WindowTexts& texts,
                       engine::TransformSettings& settings, ntv2::GridChoice& grid,
                       std::string& refusal, std::string* problem = nullptr);

// The file's contents ("\n" line ends). Lines 24 and 25 hold the To texts as they are, so
// the caller puts the standard display form there first. The GDA2020 lines are written only
// when a side is MGA2020 or a GDA94 -> GDA2020 grid is chosen.
std::string FormatSavedSettings(const WindowTexts& texts, const engine::TransformSettings& settings,
                                const ntv2::GridChoice& grid);

}  // namespace tarvo::mainwindow
