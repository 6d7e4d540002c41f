// The two header layouts of NTv2 grid shift files (".gsb") and the test that tells them apart.
//
// An NTv2 file is an overview header of eleven records, then per sub-grid a header of eleven
// records followed at once by its node records. Every record starts with an 8-byte label,
// which is read but never checked. All numbers are little-endian: integers int32, header
// reals float64, node values float32. Angles are arc seconds, latitudes positive north and
// longitudes positive WEST (Australian values are negative).
//
// Two layouts exist in the field:
//   "Canadian NTv2"   every record is 16 bytes; an integer record is label, int32 and four
//                     bytes of padding. Overview 176 bytes, sub-grid header 176 bytes.
//   "Australian NTv2" the three integer records of the overview and the node-count record of
//                     each sub-grid are 12 bytes (no padding). Overview 164 bytes, sub-grid
//                     header 172 bytes.
// The sub-grid header has the same value offsets in both; only its size differs.
//
// Each sub-grid header is followed by its node records, 16 bytes each: latitude shift,
// longitude shift (positive west), latitude accuracy, longitude accuracy, float32 arc
// seconds. Nodes run row by row from the south limit northwards, within a row from the east
// limit westwards. A negative accuracy means that none is known for the node.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace tarvo::ntv2 {

// Byte offsets of the values (after the 8-byte labels) in the overview header.
struct OverviewOffsets {
  int overviewRecordCount;  // int32
  int subGridRecordCount;   // int32
  int subGridCount;         // int32
  int shiftType;            // 8 characters
  int version;              // 8 characters
  int sourceDatum;          // 8 characters
  int targetDatum;          // 8 characters
  int sourceSemiMajorAxis;  // float64, metres
  int sourceSemiMinorAxis;  // float64
  int targetSemiMajorAxis;  // float64
  int targetSemiMinorAxis;  // float64
  int size;                 // the first sub-grid header starts here
};

// Byte offsets of the values in a sub-grid header, counted from its start.
struct SubGridOffsets {
  int name;                // 8 characters
  int parent;              // 8 characters
  int created;             // 8 characters
  int updated;             // 8 characters
  int south;               // float64, arc seconds positive north
  int north;               // float64
  int east;                // float64, arc seconds positive west
  int west;                // float64
  int latitudeIncrement;   // float64
  int longitudeIncrement;  // float64
  int nodeCount;           // int32
  int size;                // the sub-grid's node records start here
};

struct GridLayout {
  std::string_view label;  // as the grid file dialog shows it
  OverviewOffsets overview;
  SubGridOffsets subGrid;
};

inline constexpr int kNodeRecordSize = 16;
inline constexpr int kMinSubGrids = 1;
inline constexpr int kMaxSubGrids = 30;

inline constexpr GridLayout kCanadianLayout{
    "Canadian NTv2",
    {8, 24, 40, 56, 72, 88, 104, 120, 136, 152, 168, 176},
    {8, 24, 40, 56, 72, 88, 104, 120, 136, 152, 168, 176},
};

inline constexpr GridLayout kAustralianLayout{
    "Australian NTv2",
    {8, 20, 32, 44, 60, 76, 92, 108, 124, 140, 156, 164},
    {8, 24, 40, 56, 72, 88, 104, 120, 136, 152, 168, 172},
};

// What the layout test read and decided. The sub-grid count is read at the Canadian offset
// first; only when it is not 1 to 30 is the count at the Australian offset read. A count
// the file is too short to hold stays empty.
struct LayoutDetection {
  std::optional<std::int32_t> canadianCount;
  std::optional<std::int32_t> australianCount;
  const GridLayout* layout = nullptr;  // nullptr: neither count is 1 to 30
  int subGridCount = 0;
};

// The layout test on the first bytes of a file (at least the first 44 are looked at).
LayoutDetection DetectGridLayout(std::span<const unsigned char> fileStart);

namespace detail {
// Little-endian reads from a byte buffer; the caller has checked that the bytes are there.
std::int32_t LoadInt32(const unsigned char* bytes);
double LoadFloat64(const unsigned char* bytes);
float LoadFloat32(const unsigned char* bytes);
}  // namespace detail

}  // namespace tarvo::ntv2
