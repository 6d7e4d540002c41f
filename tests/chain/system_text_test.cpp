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

// The one-word form of a script, one line each: the system, datum, form and zone it names.
TEST(ParseCoordinateSystem, NamesTheSystem) {
  using Form = CoordinateForm;
  struct Case {
    const char* text;
    std::string_view system;
    std::optional<Datum> datum;
    Form form;
    int zone;
  };
  const Case cases[] = {
      {"AMG:56", GridSystem::kAmg, std::nullopt, Form::Grid, 56},
      {"agd/amg:49", GridSystem::kAmg, std::nullopt, Form::Grid, 49},
      {"MGA:55", GridSystem::kMga, Datum::Gda94, Form::Grid, 55},
      {"ISG:561", GridSystem::kIsg, std::nullopt, Form::Grid, 561},
      {"MGA2020:56", GridSystem::kMga2020, Datum::Gda2020, Form::Grid, 56},
      {"AMG:geo", GridSystem::kAmg, std::nullopt, Form::Geographic, 0},
      {"mga:XYZ", GridSystem::kMga, Datum::Gda94, Form::Cartesian, 0},
      {"AGD66", GridSystem::kAmg, Datum::Agd66, Form::Geographic, 0},
      {"agd84:cartesian", GridSystem::kAmg, Datum::Agd84, Form::Cartesian, 0},
      {"GDA94:latlong", GridSystem::kMga, Datum::Gda94, Form::Geographic, 0},
      {"gda2020:xyz", GridSystem::kMga2020, Datum::Gda2020, Form::Cartesian, 0},
      {"EPSG:20256", GridSystem::kAmg, Datum::Agd66, Form::Grid, 56},
      {"epsg:20349", GridSystem::kAmg, Datum::Agd84, Form::Grid, 49},
      {"EPSG:28350", GridSystem::kMga, Datum::Gda94, Form::Grid, 50},
      {"EPSG:7856", GridSystem::kMga2020, Datum::Gda2020, Form::Grid, 56},
      {"EPSG:4202", GridSystem::kAmg, Datum::Agd66, Form::Geographic, 0},
      {"EPSG:4283", GridSystem::kMga, Datum::Gda94, Form::Geographic, 0},
      {"EPSG:4938", GridSystem::kMga, Datum::Gda94, Form::Cartesian, 0},
      {"EPSG:7844", GridSystem::kMga2020, Datum::Gda2020, Form::Geographic, 0},
  };
  for (const Case& c : cases) {
    std::string error;
    const auto system = ParseCoordinateSystem(c.text, error);
    ASSERT_TRUE(system) << c.text << ": " << error;
    EXPECT_EQ(system->system, c.system) << c.text;
    EXPECT_EQ(system->datum, c.datum) << c.text;
    EXPECT_EQ(system->form, c.form) << c.text;
    EXPECT_EQ(system->zone, c.zone) << c.text;
  }
}

// Texts that name no system are refused with a message that quotes them.
TEST(ParseCoordinateSystem, RefusesWithAMessageThatSaysWhy) {
  struct Case {
    const char* text;
    const char* says;
  };
  const Case cases[] = {
      {"AMG", "'AMG' needs a zone, as in AMG:56"},
      {"ISG", "as in ISG:561"},
      {"AMG:57", "the zones are 49 to 56"},
      {"MGA:5", "the zones are 49 to 56"},
      {"MGA2020:5a", "the zones are 49 to 56"},
      {"ISG:56", "541 to 563"},
      {"ISG:564", "541 to 563"},
      {"GDA94:56", "after a datum give geo or xyz"},
      {"UTM:56", "names no coordinate system"},
      {"", "names no coordinate system"},
      {"EPSG:", "is no EPSG code"},
      {"EPSG:28357", "is no system of the program"},
      {"EPSG:3857", "is no system of the program"},
  };
  for (const Case& c : cases) {
    std::string error;
    EXPECT_FALSE(ParseCoordinateSystem(c.text, error)) << c.text;
    EXPECT_NE(error.find(c.says), std::string::npos) << c.text << " gave: " << error;
  }
}

// AMG and ISG take the method's AGD datum; a named datum stays.
TEST(ParseCoordinateSystem, TheDatumOfASystemWithoutOne) {
  std::string error;
  EXPECT_EQ(DatumOf(*ParseCoordinateSystem("AMG:56", error), Datum::Agd84), Datum::Agd84);
  EXPECT_EQ(DatumOf(*ParseCoordinateSystem("ISG:552", error), std::nullopt), Datum::Agd66);
  EXPECT_EQ(DatumOf(*ParseCoordinateSystem("EPSG:20256", error), Datum::Agd84), Datum::Agd66);
  EXPECT_EQ(DatumOf(*ParseCoordinateSystem("MGA:56", error), Datum::Agd84), Datum::Gda94);
}

}  // namespace
}  // namespace tarvo::chain
