// Angle texts and values no user means to give, each once found by a fuzz target (fuzz/):
// the case that broke, replayed, with what broke.
#include <gtest/gtest.h>

#include <cmath>

#include "angles/angle_reading.h"
#include "angles/angle_writing.h"
#include "angles/packed_angle.h"

namespace tarvo::angles {
namespace {

// "0.5914e308" typed as radians: its degrees overflow a double, and RadiansToPacked split the
// infinity into NaN seconds and converted them to an integer, which is undefined (a garbage
// packed value in practice). Found by angle_text_fuzzer.
TEST(AbsurdAngles, RadiansBeyondAnyNumberOfDegreesReadAsNoAngle) {
  EXPECT_EQ(RadiansToPacked(5.914e307, 4), INFINITY);
  EXPECT_EQ(RadiansToPacked(-5.914e307, 4), -INFINITY);
  const std::optional<double> packed = ReadAngleText("  0.5914e308", AngleFormat::Radians, 4);
  ASSERT_TRUE(packed.has_value());
  EXPECT_EQ(PackedToRadians(*packed), kInvalidAngle) << "read as " << *packed;
}

// 1e300 radians as degrees and decimal minutes: the truncation guard, relative to the
// angle, counted some 1e297 units of minutes into an int64 (undefined). A number of degrees
// that large has no fraction, so it is whole degrees and no minutes.
TEST(AbsurdAngles, HugeRadiansAreWholeDegreesAndNoMinutes) {
  EXPECT_EQ(RadiansToDegreesMinutes(1e300), 1e300 * kDegreesPerRadian);
  EXPECT_EQ(RadiansToDegreesMinutes(-1e300), -1e300 * kDegreesPerRadian);
  // An ordinary angle keeps its minutes.
  EXPECT_EQ(RadiansToDegreesMinutes(35.5 / kDegreesPerRadian), 35.3);
}

}  // namespace
}  // namespace tarvo::angles
