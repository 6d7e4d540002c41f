// Synthetic NTv2 grid files for the tests, written in either header layout.
//
// A sub-grid is given by its limits and increments (arc seconds, north and west positive)
// and a function that gives each node's record; the writer counts rows and columns as
// round((N - S) / dphi) + 1 and round((W - E) / dlambda) + 1 and writes the labels other
// NTv2 readers expect, so PROJ reads the Canadian files too.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ntv2/grid_file.h"
#include "ntv2/grid_layout.h"

namespace tarvo::ntv2::testing {

struct SyntheticSubGrid {
  std::string name;
  std::string parent = "NONE";
  double south = 0.0;
  double north = 0.0;
  double east = 0.0;
  double west = 0.0;
  double latitudeIncrement = 0.0;
  double longitudeIncrement = 0.0;
  // The record of node (row from the south, column from the east).
  std::function<GridNode(int row, int column)> node;

  int Rows() const;
  int Columns() const;
};

struct SyntheticGrid {
  std::vector<SyntheticSubGrid> subGrids;
  double sourceSemiMajorAxis = 6378160.0;  // ANS
  std::string systemFrom = "AGD66";        // SYSTEM_F
  std::string systemTo = "GDA94";          // SYSTEM_T
};

// The bytes of the grid file in `layout`.
std::string GridBytes(const SyntheticGrid& grid, const GridLayout& layout);

// A bilinear field that floats hold exactly: interpolation reproduces it to the last bit of
// a double, so a test knows the shift anywhere in the sub-grid without a second
// interpolation. Arc seconds; the longitude shift is positive west.
struct ExactField {
  double latitudeBase = 5.0;
  double longitudeBase = -4.0;
  double LatitudeShift(double row, double column) const {
    return latitudeBase + 0.0625 * row - 0.03125 * column + 0.001953125 * row * column;
  }
  double LongitudeShift(double row, double column) const {
    return longitudeBase - 0.03125 * row + 0.0625 * column - 0.0009765625 * row * column;
  }
  static double LatitudeAccuracy(double row, double column) {
    return 0.25 + 0.0078125 * (row + column);
  }
  static double LongitudeAccuracy(double row, double column) {
    return 0.5 + 0.015625 * (row - column);
  }
  std::function<GridNode(int, int)> Nodes() const;
};

// A grid read from the file `name` written into `folder`: one sub-grid from `south` to
// `north` and from `west` to `east` (whole degrees, south and east positive; north of the
// equator negative), nodes one degree apart, every node moving a point `northSeconds` north
// and `eastSeconds` east, with accuracies of 0.5" in latitude and 1" in longitude.
std::shared_ptr<const GridFile> ConstantShiftGrid(const std::filesystem::path& folder,
                                                  const std::string& name, int south, int north,
                                                  int west, int east, double northSeconds,
                                                  double eastSeconds);

// Overwrites the 8 bytes at `offset` of a file's bytes with `value` (little-endian).
void PatchDouble(std::string& bytes, std::size_t offset, double value);
void PatchInt32(std::string& bytes, std::size_t offset, std::int32_t value);

// A packed DDD.MMSSsss value for an angle of `seconds` arc seconds, read from its decimal
// text as a user's entry would be.
double PackedFromSeconds(double seconds);

}  // namespace tarvo::ntv2::testing
