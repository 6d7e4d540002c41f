#include "params/parameter_sets.h"

#include <array>
#include <cctype>
#include <cmath>
#include <sstream>

#include "text/line_input.h"
#include "text/number_text.h"
#include "text/text_file.h"

namespace tarvo::params {
namespace {

constexpr const char* kGrs80A = "6378137.0";
constexpr const char* kGrs80InverseF = "298.257222101";

// EPSG-published sets (coordinate-frame rotations) from AGD84 (National) or AGD66 (Regional)
// to GDA94. The list texts and labels differ in their spacing on purpose: each is shown
// exactly as written.
const Preset kPresets[kPresetCount] = {
    {"National  -->   AGD84<>GDA",
     "National\r\nAGD84<>GDA",
     {kGrs80A, kGrs80InverseF, "-117.763", "-51.510", "139.061", "-0.292", "-0.443", "-0.277",
      "-0.191"}},
    {"Regional NSW/VIC  -->   AGD66<>GDA",
     "Regional NSW/VIC\r\nAGD66<>GDA",
     {kGrs80A, kGrs80InverseF, "-119.353", "-48.301", "139.484", "-0.415", "-0.260", "-0.437",
      "-0.613"}},
    {"Regional ACT  -->   AGD66<>GDA",
     "Regional ACT\r\nAGD66<>GDA",
     {kGrs80A, kGrs80InverseF, "-129.193", "-41.212", "130.730", "-0.246", "-0.374", "-0.329",
      "-2.955"}},
    {"Regional Tasmania  -->   AGD66<>GDA ",
     "Regional Tasmania\r\nAGD66<>GDA",
     {kGrs80A, kGrs80InverseF, "-120.271", "-64.543", "161.632", "-0.2175", "0.0672", "0.1291",
      "2.4985"}},
    {"Regional N.Territory -->  AGD66<>GDA",
     "Regional N.Territory\r\nAGD66<>GDA",
     {kGrs80A, kGrs80InverseF, "-124.133", "-42.003", "137.400", "0.0083", "-0.5571", "-0.1777",
      "-1.8538"}},
};

// Presets by the names a command line gives them, in the order of their indices.
constexpr std::array<std::array<std::string_view, 3>, kPresetCount> kPresetNames = {{
    {"national", "0", "agd84"},
    {"nsw-vic", "1", "nsw"},
    {"act", "2", ""},
    {"tasmania", "3", "tas"},
    {"nt", "4", "n.territory"},
}};

// Lower case without blanks: labels compare whatever their spacing.
std::string Folded(std::string_view text) {
  std::string folded;
  for (const char c : text) {
    if (c != ' ') folded += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return folded;
}

}  // namespace

std::optional<int> FindPreset(std::string_view name) {
  const std::string folded = Folded(name);
  for (int index = 0; index < kPresetCount; ++index) {
    for (const std::string_view word : kPresetNames[static_cast<std::size_t>(index)]) {
      if (!word.empty() && folded == word) return index;
    }
    if (folded == Folded(*ParameterSetLabel(index))) return index;
  }
  return std::nullopt;
}

std::optional<Preset> ApplyPreset(int index) {
  if (index < 0 || index >= kPresetCount) return std::nullopt;
  return kPresets[index];
}

std::optional<std::string> ParameterSetLabel(int parameterSet) {
  switch (parameterSet) {
    case engine::kUserDefinedParameterSet:
      return "User Defined";
    case 0:
      return "National  -->  AGD84<>GDA";
    case 1:
      return "Regional NSW/VIC  -->  AGD66<>GDA";
    case 2:
      return "Regional ACT  -->  AGD66<>GDA";
    case 3:
      return "Regional Tasmania  -->  AGD66<>GDA";
    case 4:
      return "Regional N.Territory --> AGD66<>GDA";
    default:
      return std::nullopt;
  }
}

ParameterTexts ActiveParameters(const engine::TransformSettings& settings) {
  return {
      settings.semiMajorAxis, settings.inverseFlattening, settings.shiftX,    settings.shiftY,
      settings.shiftZ,        settings.rotationX,         settings.rotationY, settings.rotationZ,
      settings.scalePpm};
}

void SetActiveParameters(engine::TransformSettings& settings, const ParameterTexts& texts) {
  settings.semiMajorAxis = texts[0];
  settings.inverseFlattening = texts[1];
  settings.shiftX = texts[2];
  settings.shiftY = texts[3];
  settings.shiftZ = texts[4];
  settings.rotationX = texts[5];
  settings.rotationY = texts[6];
  settings.rotationZ = texts[7];
  settings.scalePpm = texts[8];
}

std::optional<ParameterTexts> ReadParameterFile(const std::filesystem::path& path,
                                                std::string* refusal) {
  ParameterTexts texts;
  std::string why;
  const auto head = text::ReadFileHead(path, texts.size(), "settings file", why);
  if (refusal != nullptr) *refusal = std::move(why);
  if (!head) return std::nullopt;
  std::istringstream in(*head);
  for (std::string& value : texts) {
    if (!text::ReadLine(in, value)) value.clear();
  }
  return texts;
}

std::optional<ParameterTexts> LoadParameterFile(const std::filesystem::path& folder,
                                                std::string* refusal) {
  return ReadParameterFile(folder / "Tarvo.var", refusal);
}

std::optional<ParameterProblem> CheckParameterSet(const ParameterTexts& texts) {
  // The values' names in the messages, in the order of Tarvo.var.
  static constexpr const char* kNames[9] = {
      "Semi-major Axis", "Inverse Flattening", "X Shift",    "Y Shift", "Z Shift",
      "X Rotation",      "Y Rotation",         "Z Rotation", "Scale"};
  for (std::size_t i = 0; i < texts.size(); ++i) {
    const double value = text::ToDouble(texts[i]);
    const char* rule = nullptr;
    if (i == 0 && !(std::isfinite(value) && value > 0.0)) {
      rule = "Must be a positive number of metres";
    } else if (i == 1 && !(std::isfinite(value) && value > 1.0)) {
      rule = "Must be a number greater than 1";
    } else if (!std::isfinite(value)) {
      rule = "Must be a finite number";
    }
    if (rule != nullptr) {
      return ParameterProblem{static_cast<int>(i) + 1, text::Format("Invalid %s: %s\n%s", kNames[i],
                                                                    texts[i].c_str(), rule)};
    }
  }
  return std::nullopt;
}

bool SaveParameterFile(const std::filesystem::path& folder, const ParameterTexts& texts) {
  std::string contents;
  for (const std::string& value : texts) contents += value + "\n";
  return text::WriteFileAtomically(folder / "Tarvo.var", contents);
}

}  // namespace tarvo::params
