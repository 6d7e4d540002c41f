#include "tests/support/synthetic_grid.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "text/number_text.h"

namespace tarvo::ntv2::testing {
namespace {

class Writer {
 public:
  explicit Writer(bool padIntegers) : padIntegers_(padIntegers) {}

  void Label(const std::string& label) { Text8(label); }
  void Text8(const std::string& text) {
    std::string field = text.substr(0, 8);
    field.resize(8, ' ');
    bytes_ += field;
  }
  void Int(const std::string& label, std::int32_t value) {
    Label(label);
    Raw(&value, sizeof value);
    if (padIntegers_) bytes_.append(4, '\0');
  }
  void Text(const std::string& label, const std::string& value) {
    Label(label);
    Text8(value);
  }
  void Double(const std::string& label, double value) {
    Label(label);
    Raw(&value, sizeof value);
  }
  void Float(float value) { Raw(&value, sizeof value); }
  const std::string& bytes() const { return bytes_; }

 private:
  // The tests run on little-endian machines, as the files are.
  void Raw(const void* value, std::size_t size) {
    bytes_.append(static_cast<const char*>(value), size);
  }
  bool padIntegers_;
  std::string bytes_;
};

}  // namespace

std::shared_ptr<const GridFile> ConstantShiftGrid(const std::filesystem::path& folder,
                                                  const std::string& name, int south, int north,
                                                  int west, int east, double northSeconds,
                                                  double eastSeconds) {
  SyntheticSubGrid subGrid;
  subGrid.name = "CONSTANT";
  subGrid.south = -south * 3600.0;
  subGrid.north = -north * 3600.0;
  subGrid.east = -east * 3600.0;
  subGrid.west = -west * 3600.0;
  subGrid.latitudeIncrement = 3600.0;
  subGrid.longitudeIncrement = 3600.0;
  subGrid.node = [northSeconds, eastSeconds](int, int) {
    return GridNode{static_cast<float>(northSeconds), static_cast<float>(-eastSeconds), 0.5f, 1.0f};
  };
  const std::filesystem::path path = folder / name;
  const std::string bytes = GridBytes({{subGrid}}, kCanadianLayout);
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return nullptr;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  if (std::fclose(file) != 0 || !written) return nullptr;
  GridOpenStatus status;
  return GridFile::Open(path, status);
}

int SyntheticSubGrid::Rows() const {
  return static_cast<int>(std::lround((north - south) / latitudeIncrement)) + 1;
}
int SyntheticSubGrid::Columns() const {
  return static_cast<int>(std::lround((west - east) / longitudeIncrement)) + 1;
}

std::string GridBytes(const SyntheticGrid& grid, const GridLayout& layout) {
  Writer w(&layout == &kCanadianLayout);
  w.Int("NUM_OREC", 11);
  w.Int("NUM_SREC", 11);
  w.Int("NUM_FILE", static_cast<int>(grid.subGrids.size()));
  w.Text("GS_TYPE", "SECONDS");
  w.Text("VERSION", "TEST 1.0");
  w.Text("SYSTEM_F", grid.systemFrom);
  w.Text("SYSTEM_T", grid.systemTo);
  w.Double("MAJOR_F", grid.sourceSemiMajorAxis);
  w.Double("MINOR_F", 6356774.719);
  w.Double("MAJOR_T", 6378137.0);
  w.Double("MINOR_T", 6356752.314);
  for (const SyntheticSubGrid& s : grid.subGrids) {
    w.Text("SUB_NAME", s.name);
    w.Text("PARENT", s.parent);
    w.Text("CREATED", "01012024");
    w.Text("UPDATED", "01012024");
    w.Double("S_LAT", s.south);
    w.Double("N_LAT", s.north);
    w.Double("E_LONG", s.east);
    w.Double("W_LONG", s.west);
    w.Double("LAT_INC", s.latitudeIncrement);
    w.Double("LONG_INC", s.longitudeIncrement);
    w.Int("GS_COUNT", s.Rows() * s.Columns());
    for (int row = 0; row < s.Rows(); ++row) {
      for (int column = 0; column < s.Columns(); ++column) {
        const GridNode node = s.node(row, column);
        w.Float(node.latitudeShift);
        w.Float(node.longitudeShift);
        w.Float(node.latitudeAccuracy);
        w.Float(node.longitudeAccuracy);
      }
    }
  }
  w.Label("END");
  w.Label("");
  return w.bytes();
}

std::function<GridNode(int, int)> ExactField::Nodes() const {
  return [field = *this](int row, int column) {
    return GridNode{static_cast<float>(field.LatitudeShift(row, column)),
                    static_cast<float>(field.LongitudeShift(row, column)),
                    static_cast<float>(LatitudeAccuracy(row, column)),
                    static_cast<float>(LongitudeAccuracy(row, column))};
  };
}

void PatchDouble(std::string& bytes, std::size_t offset, double value) {
  std::memcpy(bytes.data() + offset, &value, sizeof value);
}

void PatchInt32(std::string& bytes, std::size_t offset, std::int32_t value) {
  std::memcpy(bytes.data() + offset, &value, sizeof value);
}

double PackedFromSeconds(double seconds) {
  const double degrees = std::floor(seconds / 3600.0);
  const double minutes = std::floor((seconds - degrees * 3600.0) / 60.0);
  const double rest = seconds - degrees * 3600.0 - minutes * 60.0;
  // "%09.6f" of 5.25 is "05.250000": two digits of seconds, then six decimals.
  std::string secondsText = text::Format("%09.6f", rest);
  secondsText.erase(2, 1);
  return text::ToDouble(text::Format("%d.%02d%s", static_cast<int>(degrees),
                                     static_cast<int>(minutes), secondsText.c_str()));
}

}  // namespace tarvo::ntv2::testing
