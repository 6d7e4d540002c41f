// The 7-parameter sets of the Medium Accuracy method: the five built-in presets (National
// AGD84 and four Regional AGD66 sets, all to GDA94 on GRS80), the user's own set, and the
// file Tarvo.var in which the active set survives between runs.
//
// Values are texts, kept exactly as written here or as the user typed them: translations in
// metres, rotations in seconds of arc (rotations of the coordinate frame), scale in parts
// per million. They become numbers only when a transformation uses them.
#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "engine/transform_settings.h"

namespace tarvo::params {

// The nine texts of a set in the order of Tarvo.var: semi-major axis, inverse flattening,
// tx, ty, tz, rx, ry, rz, scale.
using ParameterTexts = std::array<std::string, 9>;

inline constexpr int kPresetCount = 5;

struct Preset {
  const char* listText;  // the entry of the parameters dialog's list
  const char* label;     // the two-line label beside the preset button
  ParameterTexts texts;
};

// The preset of index 0 to 4, or nothing.
std::optional<Preset> ApplyPreset(int index);

// The preset a name gives, in any case: the command line's words ("national", "nsw-vic",
// "act", "tasmania", "nt", the short forms "agd84", "nsw", "tas", "n.territory", the indices
// "0" to "4") or the set's label as the program names it ("National  -->  AGD84<>GDA",
// compared without its blanks). Nothing for any other name.
std::optional<int> FindPreset(std::string_view name);

// The name the main window and the batch run show for a parameter set ("National  -->
// AGD84<>GDA", ..., "User Defined"); nothing for an index that names no set.
std::optional<std::string> ParameterSetLabel(int parameterSet);

// The nine texts of the active set, and replacing them.
ParameterTexts ActiveParameters(const engine::TransformSettings& settings);
void SetActiveParameters(engine::TransformSettings& settings, const ParameterTexts& texts);

// Reads a parameter file laid out like Tarvo.var: nothing when it cannot be opened. A missing
// line gives an empty text (a transformation uses it as 0); each line is read whole, without
// its line end. A file that is no regular file or holds a line longer than 1 MiB is not
// read; then `refusal`, when given, says why (it is emptied otherwise).
std::optional<ParameterTexts> ReadParameterFile(const std::filesystem::path& path,
                                                std::string* refusal = nullptr);

// ReadParameterFile of Tarvo.var in `folder`.
std::optional<ParameterTexts> LoadParameterFile(const std::filesystem::path& folder,
                                                std::string* refusal = nullptr);

// Why a set cannot be used: the line of Tarvo.var (1 to 9) that holds the value at fault, and
// the message that refuses it ("Invalid Inverse Flattening: 1\nMust be a number greater
// than 1").
struct ParameterProblem {
  int line = 0;
  std::string message;
};

// Nothing when the nine texts make a set a transformation can use: every value a finite
// number (a text that is no number counts as 0, as the transformation reads it), a
// semi-major axis above 0 and an inverse flattening above 1 (a flattening of 1 or more is no
// ellipsoid: its polar radius would be zero or less). Otherwise the first value at fault.
// A set that fails would turn every transformed coordinate into NaN or nonsense.
std::optional<ParameterProblem> CheckParameterSet(const ParameterTexts& texts);

// Writes the nine texts to `folder`/Tarvo.var, one per line, replacing the file whole.
// Returns false when it cannot be written (the old file is then left as it was).
bool SaveParameterFile(const std::filesystem::path& folder, const ParameterTexts& texts);

}  // namespace tarvo::params
