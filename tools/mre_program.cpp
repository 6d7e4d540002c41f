#include "tools/mre_program.h"

#include <cmath>
#include <cstdio>
#include <sstream>
#include <string>

#include "chain/point_chain.h"
#include "engine/datum_parameters.h"
#include "params/parameter_sets.h"
#include "text/atomic_file.h"
#include "text/line_input.h"
#include "text/number_text.h"
#include "text/text_file.h"

namespace tarvo::tools {
namespace {

constexpr int kRegionalNswVic = 1;

// Reads the next word as a number; false when there is none or it is not one.
bool ReadNumber(std::istringstream& words, double& value) {
  std::string word;
  if (!(words >> word)) return false;
  const auto parsed = text::ParseDouble(word);
  if (!parsed) return false;
  value = *parsed;
  return true;
}

}  // namespace

int RunMreProgram(bool forward) {
  const char* name = forward ? "fwdmre" : "revmre";
  text::InstallInterruptCleanup(name);
  std::string refusal;
  const auto line = text::ReadFileHead("fwdmre.inp", 1, "input file", refusal);
  if (!line) {
    if (refusal.empty()) refusal = "cannot read fwdmre.inp in the current directory";
    std::fprintf(stderr, "%s: %s\n", name, refusal.c_str());
    return 2;
  }
  std::istringstream words(*line);
  double latitude = 0;
  double longitude = 0;
  std::string rest;
  if (!ReadNumber(words, latitude) || !ReadNumber(words, longitude) || (words >> rest)) {
    std::fprintf(stderr, "%s: fwdmre.inp must hold a latitude and a longitude in radians\n", name);
    return 2;
  }
  // The exchange carries southern latitudes as negative numbers; the engine takes them
  // positive.
  latitude = std::fabs(latitude);

  engine::TransformSettings settings;
  params::SetActiveParameters(settings, params::ApplyPreset(kRegionalNswVic)->texts);
  chain::ChainSettings nswVic;
  nswVic.source = {forward ? chain::Datum::Agd66 : chain::Datum::Gda94, 56};
  nswVic.target = {forward ? chain::Datum::Gda94 : chain::Datum::Agd66, 56};
  nswVic.parameters = engine::MakeDatumParameters(settings);
  nswVic.outputs.targetGrid = false;
  chain::PointState state;
  const chain::PointResult moved = chain::PointChain(nswVic).Convert(
      {chain::InputKind::Geographic, latitude, longitude, 0.0}, state);

  if (!text::WriteFileAtomically("Fwdmre.out",
                                 text::Format("%.12f %.12f ", moved.latitude, moved.longitude))) {
    std::fprintf(stderr, "%s: cannot write Fwdmre.out in the current directory\n", name);
    return 3;
  }
  return 0;
}

}  // namespace tarvo::tools
