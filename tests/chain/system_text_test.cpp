#include "chain/system_text.h"

#include <gtest/gtest.h>

#include "engine/grid_system.h"

namespace tarvo::chain {
namespace {

using engine::GridSystem;
using Form = CoordinateForm;

// Every spelling a caller may give, one line each: the system, datum, form and zone it names.
TEST(SystemText, NamesTheSystem) {
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
      {"AMG:geo", GridSystem::kAmg, std::nullopt, Form::Geographic, 0},
      {"mga:XYZ", GridSystem::kMga, Datum::Gda94, Form::Cartesian, 0},
      {"AGD66", GridSystem::kAmg, Datum::Agd66, Form::Geographic, 0},
      {"agd84:cartesian", GridSystem::kAmg, Datum::Agd84, Form::Cartesian, 0},
      {"GDA94:latlong", GridSystem::kMga, Datum::Gda94, Form::Geographic, 0},
      {"EPSG:20256", GridSystem::kAmg, Datum::Agd66, Form::Grid, 56},
      {"epsg:20349", GridSystem::kAmg, Datum::Agd84, Form::Grid, 49},
      {"EPSG:28350", GridSystem::kMga, Datum::Gda94, Form::Grid, 50},
      {"EPSG:4202", GridSystem::kAmg, Datum::Agd66, Form::Geographic, 0},
      {"EPSG:4203", GridSystem::kAmg, Datum::Agd84, Form::Geographic, 0},
      {"EPSG:4283", GridSystem::kMga, Datum::Gda94, Form::Geographic, 0},
      {"EPSG:4939", GridSystem::kMga, Datum::Gda94, Form::Geographic, 0},
      {"EPSG:4938", GridSystem::kMga, Datum::Gda94, Form::Cartesian, 0},
  };
  for (const Case& c : cases) {
    std::string error;
    const auto system = ParseSystemText(c.text, error);
    ASSERT_TRUE(system) << c.text << ": " << error;
    EXPECT_EQ(system->system, c.system) << c.text;
    EXPECT_EQ(system->datum, c.datum) << c.text;
    EXPECT_EQ(system->form, c.form) << c.text;
    EXPECT_EQ(system->zone, c.zone) << c.text;
  }
}

// Texts that name no system of the program are refused with a message that quotes them.
TEST(SystemText, RefusesWithAMessageThatSaysWhy) {
  struct Case {
    const char* text;
    const char* says;
  };
  const Case cases[] = {
      {"AMG", "'AMG' needs a zone, as in AMG:56"},
      {"ISG", "as in ISG:561"},
      {"AMG:57", "the zones are 49 to 56"},
      {"MGA:5", "the zones are 49 to 56"},
      {"ISG:56", "541 to 563"},
      {"ISG:564", "541 to 563"},
      {"GDA94:56", "after a datum give geo or xyz"},
      {"UTM:56", "names no coordinate system"},
      {"", "names no coordinate system"},
      {"EPSG:", "is no EPSG code"},
      {"EPSG:28357", "is no system of the program"},
      {"EPSG:3857", "is no system of the program"},
      {"EPSG:7856", "GDA2020 is not available"},
      {"EPSG:7844", "GDA2020 is not available"},
      {"MGA2020:56", "GDA2020 is not available"},
  };
  for (const Case& c : cases) {
    std::string error;
    EXPECT_FALSE(ParseSystemText(c.text, error)) << c.text;
    EXPECT_NE(error.find(c.says), std::string::npos) << c.text << " gave: " << error;
  }
}

// AMG and ISG take the method's AGD datum; a named datum stays.
TEST(SystemText, TheDatumOfASystemWithoutOne) {
  std::string error;
  EXPECT_EQ(DatumOf(*ParseSystemText("AMG:56", error), Datum::Agd84), Datum::Agd84);
  EXPECT_EQ(DatumOf(*ParseSystemText("ISG:552", error), std::nullopt), Datum::Agd66);
  EXPECT_EQ(DatumOf(*ParseSystemText("EPSG:20256", error), Datum::Agd84), Datum::Agd66);
  EXPECT_EQ(DatumOf(*ParseSystemText("MGA:56", error), Datum::Agd84), Datum::Gda94);
}

}  // namespace
}  // namespace tarvo::chain
