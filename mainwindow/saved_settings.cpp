#include "mainwindow/saved_settings.h"

#include <optional>

#include "engine/grid_system.h"
#include "params/saved_settings.h"

namespace tarvo::mainwindow {
namespace {

struct TextLine {
  size_t line;  // 1-based
  std::string WindowTexts::*field;
};

// The window texts kept in the file; lines 20, 21 and 28 to 32 belong to the settings.
constexpr TextLine kTextLines[] = {
    {1, &WindowTexts::fromSystem},      {2, &WindowTexts::fromEast},
    {3, &WindowTexts::fromHeight},      {4, &WindowTexts::fromNorth},
    {5, &WindowTexts::fromScaleFactor}, {6, &WindowTexts::fromZone},
    {7, &WindowTexts::toEast},          {8, &WindowTexts::toNorth},
    {9, &WindowTexts::toScaleFactor},   {10, &WindowTexts::toSystem},
    {11, &WindowTexts::toZone},         {12, &WindowTexts::parameterSetLabel},
    {13, &WindowTexts::fromLabel1},     {14, &WindowTexts::fromLabel2},
    {15, &WindowTexts::fromLabel3},     {16, &WindowTexts::toLabel1},
    {17, &WindowTexts::toLabel2},       {18, &WindowTexts::toLabel3},
    {19, &WindowTexts::toHeight},       {22, &WindowTexts::fromLatitude},
    {23, &WindowTexts::fromLongitude},  {24, &WindowTexts::toLatitude},
    {25, &WindowTexts::toLongitude},    {26, &WindowTexts::fromConvergence},
    {27, &WindowTexts::toConvergence},
};

// The system lines of a side: line 1 or 10 holds "GDA/MGA" for an MGA2020 side, which the
// GDA2020 line 33 or 34 names.
struct SystemLines {
  std::size_t line;
  std::size_t gda2020Line;
  std::string WindowTexts::*field;
};
constexpr SystemLines kSystemLines[] = {
    {1, params::kFromSystemLine, &WindowTexts::fromSystem},
    {10, params::kToSystemLine, &WindowTexts::toSystem},
};

void TakeLines(const params::SavedLines& lines, WindowTexts& texts,
               engine::TransformSettings& settings, ntv2::GridChoice& grid) {
  for (const TextLine& spec : kTextLines) texts.*spec.field = lines.At(spec.line);
  if (lines.hasGda2020Lines()) {
    for (const SystemLines& spec : kSystemLines) texts.*spec.field = lines.At(spec.gda2020Line);
  }
  params::TakeSavedSettings(lines, settings, grid);
}

}  // namespace

bool ReadSavedSettings(std::istream& in, WindowTexts& texts, engine::TransformSettings& settings,
                       ntv2::GridChoice& grid, std::string* problem) {
  const std::optional<params::SavedLines> lines = params::ReadSavedLines(in, problem);
  if (!lines) return false;
  TakeLines(*lines, texts, settings, grid);
  return true;
}

bool LoadSavedSettings(const std::filesystem::path& path, WindowTexts& texts,
                       engine::TransformSettings& settings, ntv2::GridChoice& grid,
                       std::string& refusal, std::string* problem) {
  const std::optional<params::SavedLines> lines = params::LoadSavedLines(path, refusal, problem);
  if (!lines) return false;
  TakeLines(*lines, texts, settings, grid);
  return true;
}

std::string FormatSavedSettings(const WindowTexts& texts, const engine::TransformSettings& settings,
                                const ntv2::GridChoice& grid) {
  params::SavedLines lines;
  for (const TextLine& spec : kTextLines) lines.Set(spec.line, texts.*spec.field);
  params::PutSavedSettings(settings, grid, lines);
  const bool gda2020 = engine::IsGda2020(texts.fromSystem) || engine::IsGda2020(texts.toSystem) ||
                       lines.hasGda2020Lines();
  if (gda2020) {
    for (const SystemLines& spec : kSystemLines) {
      const std::string& system = texts.*spec.field;
      lines.Set(spec.gda2020Line, system);
      if (engine::IsGda2020(system)) lines.Set(spec.line, std::string(engine::GridSystem::kMga));
    }
    lines.Set(params::kGda2020GridLine, grid.gda2020GridPath);
  }
  return lines.Contents();
}

}  // namespace tarvo::mainwindow
