// The AGD datum of the method in use, which the AGD systems of a calculation are on and the
// window's labels name.
#include "chain/datum.h"

#include <gtest/gtest.h>

namespace tarvo::chain {
namespace {

using engine::AccuracyMethod;
using ntv2::GridMethod;

TEST(AgdDatumInUse, FollowsTheParameterSetOrTheGridInUse) {
  struct Case {
    AccuracyMethod method;
    int parameterSet;
    GridMethod gridMethod;
    std::optional<Datum> expected;
  };
  const Case cases[] = {
      {AccuracyMethod::Medium, 0, GridMethod::GridFileAgd84, Datum::Agd84},
      {AccuracyMethod::Medium, -1, GridMethod::GridFileAgd66, std::nullopt},
      {AccuracyMethod::Medium, 1, GridMethod::GridFileAgd84, Datum::Agd66},
      {AccuracyMethod::Medium, 4, GridMethod::TasmaniaGrid, Datum::Agd66},
      {AccuracyMethod::High, 0, GridMethod::GridFileAgd66, Datum::Agd66},
      {AccuracyMethod::High, 0, GridMethod::NswMrePrograms, Datum::Agd66},
      {AccuracyMethod::High, 4, GridMethod::GridFileAgd84, Datum::Agd84},
      {AccuracyMethod::High, 0, GridMethod::TasmaniaGrid, std::nullopt},
      {AccuracyMethod::High, 0, static_cast<GridMethod>(-1), std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(AgdDatumInUse(c.method, c.parameterSet, c.gridMethod), c.expected)
        << "method " << static_cast<int>(c.method) << ", set " << c.parameterSet << ", grid "
        << static_cast<int>(c.gridMethod);
  }
}

TEST(DatumOfSystem, MgaIsOnGda94AndTheAgdSystemsOnTheMethodsDatum) {
  EXPECT_EQ(DatumOfSystem("GDA/MGA", Datum::Agd84), Datum::Gda94);
  EXPECT_EQ(DatumOfSystem("MGA2020", Datum::Agd84), Datum::Gda2020);
  EXPECT_EQ(DatumOfSystem("AGD/AMG", Datum::Agd84), Datum::Agd84);
  EXPECT_EQ(DatumOfSystem("AGD/ISG", std::nullopt), Datum::Agd66);
}

}  // namespace
}  // namespace tarvo::chain
