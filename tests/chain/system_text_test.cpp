// The reading of system texts (SYSTEM[:ZONE], EPSG:CODE), and every EPSG code the program
// knows against PROJ's own registry (projinfo), where PROJ is installed.
#include "chain/system_text.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/grid_system.h"
#include "tests/support/support.h"
#include "text/number_text.h"

namespace tarvo::chain {
namespace {

using engine::GridSystem;
using enum CoordinateForm;

struct Case {
  const char* text;
  std::string_view system;  // empty: refused
  const char* zone;         // "" for none
  std::optional<CoordinateForm> form;
  std::optional<Datum> agdDatum;
};

const Case kCases[] = {
    {"AMG:56", GridSystem::kAmg, "56", {}, {}},
    {"mga", GridSystem::kMga, "", {}, {}},
    {"AGD/ISG:561", GridSystem::kIsg, "561", {}, {}},
    {"MGA2020:55", GridSystem::kMga2020, "55", {}, {}},
    {"mga2020", GridSystem::kMga2020, "", {}, {}},
    {"EPSG:20249", GridSystem::kAmg, "49", {}, Datum::Agd66},
    {"epsg:20356", GridSystem::kAmg, "56", {}, Datum::Agd84},
    {"EPSG:28355", GridSystem::kMga, "55", {}, {}},
    {"EPSG:7856", GridSystem::kMga2020, "56", {}, {}},
    {"EPSG:4202", GridSystem::kAmg, "", Geographic, Datum::Agd66},
    {"EPSG:4203", GridSystem::kAmg, "", Geographic, Datum::Agd84},
    {"EPSG:4283", GridSystem::kMga, "", Geographic, {}},
    {"EPSG:4938", GridSystem::kMga, "", Cartesian, {}},
    {"EPSG:7844", GridSystem::kMga2020, "", Geographic, {}},
    {"EPSG:7842", GridSystem::kMga2020, "", Cartesian, {}},
    // Refused: zones outside 49 to 56, codes of other systems, malformed texts.
    {"EPSG:20248", "", "", {}, {}},
    {"EPSG:28357", "", "", {}, {}},
    {"EPSG:4326", "", "", {}, {}},
    {"EPSG:4348", "", "", {}, {}},  // GDA94 geocentric, deprecated for 4938
    {"EPSG:", "", "", {}, {}},
    {"EPSG:78a5", "", "", {}, {}},
    {"MGA2021:55", "", "", {}, {}},
    {"MGA:5x", "", "", {}, {}},
    {"AMG:5612", "", "", {}, {}},
};

TEST(ParseSystemText, ReadsNamesAndCodes) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.text);
    std::string error;
    const auto system = ParseSystemText(c.text, error);
    if (c.system.empty()) {
      EXPECT_FALSE(system);
      EXPECT_FALSE(error.empty());
      continue;
    }
    ASSERT_TRUE(system) << error;
    EXPECT_EQ(system->system, c.system);
    EXPECT_EQ(system->zone.value_or(""), c.zone);
    EXPECT_EQ(system->form, c.form);
    EXPECT_EQ(system->agdDatum, c.agdDatum);
  }
}

// Every code read as a system is the system PROJ's registry names: the datum, and for
// projected codes the zone on the datum's ellipsoid; geographic and geocentric as said.
TEST(ParseSystemText, EveryCodeIsTheSystemPROJsRegistryNames) {
  if (!testing::HaveProgram("projinfo")) GTEST_SKIP() << "projinfo is not installed: skipped";
  std::vector<int> codes = {4202, 4203, 4283, 4939, 4938, 7844, 7843, 7842};
  for (int zone = 49; zone <= 56; ++zone) {
    for (int first : {20200, 20300, 28300, 7800}) codes.push_back(first + zone);
  }
  for (const int code : codes) {
    SCOPED_TRACE(code);
    std::string error;
    const auto system = ParseSystemText(text::Format("EPSG:%d", code), error);
    ASSERT_TRUE(system) << error;
    // The PROJ string, then the WKT on one line (the first '[' opens the system's name).
    const std::string info =
        testing::RunCommand(text::Format("projinfo -o PROJ,WKT2:2019 --single-line EPSG:%d", code))
            .output;
    const bool agd = system->agdDatum.has_value();
    EXPECT_NE(info.find(agd ? "+ellps=aust_SA" : "+ellps=GRS80"), std::string::npos) << info;
    const std::string datum = system->agdDatum ? std::string(DatumName(*system->agdDatum))
                              : system->system == GridSystem::kMga2020 ? "GDA2020"
                                                                       : "GDA94";
    EXPECT_EQ(info.find("[\"" + datum), info.find('[')) << info;
    if (system->zone) {
      EXPECT_NE(info.find("+proj=utm +zone=" + *system->zone + " +south"), std::string::npos)
          << info;
    } else if (system->form == Cartesian) {
      EXPECT_NE(info.find("+proj=geocent"), std::string::npos) << info;
    } else {
      EXPECT_NE(info.find("+proj=longlat"), std::string::npos) << info;
    }
  }
}

}  // namespace
}  // namespace tarvo::chain
