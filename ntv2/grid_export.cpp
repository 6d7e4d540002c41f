#include "ntv2/grid_export.h"

#include <array>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <span>
#include <vector>

#include "ntv2/grid_file.h"
#include "ntv2/grid_layout.h"
#include "text/atomic_file.h"
#include "text/line_input.h"
#include "text/number_text.h"

namespace tarvo::ntv2 {
namespace {

namespace fs = std::filesystem;

constexpr int kRecordsPerHeader = 11;
constexpr int kLabelSize = 8;
constexpr int kTextRecordSize = 16;
// The text is handed to the file in pieces of about this size.
constexpr std::size_t kFlushSize = 64 * 1024;
// Progress is reported about this many times per sub-grid: enough for a smooth bar, few
// enough that repainting costs nothing next to the writing.
constexpr int kProgressSteps = 100;

// How a header record is printed.
enum class RecordKind {
  kCount,         // label, int32: "%8s%3d"
  kText,          // the 16-byte record: "%16s"
  kOverviewReal,  // label, float64: "%8s%12.3f"
  kSubGridReal,   // label, float64: "%8s%15.6f"
  kSubGridNodes,  // label, int32: "%8s %d"
};

constexpr std::array<RecordKind, kRecordsPerHeader> kOverviewKinds = {
    RecordKind::kCount,        RecordKind::kCount,        RecordKind::kCount,
    RecordKind::kText,         RecordKind::kText,         RecordKind::kText,
    RecordKind::kText,         RecordKind::kOverviewReal, RecordKind::kOverviewReal,
    RecordKind::kOverviewReal, RecordKind::kOverviewReal};

constexpr std::array<RecordKind, kRecordsPerHeader> kSubGridKinds = {
    RecordKind::kText,        RecordKind::kText,        RecordKind::kText,
    RecordKind::kText,        RecordKind::kSubGridReal, RecordKind::kSubGridReal,
    RecordKind::kSubGridReal, RecordKind::kSubGridReal, RecordKind::kSubGridReal,
    RecordKind::kSubGridReal, RecordKind::kSubGridNodes};

// The value offsets of a header's eleven records (each record starts 8 bytes before its
// value, with its label) and the header's size.
struct HeaderShape {
  std::array<int, kRecordsPerHeader> valueOffsets;
  int size;
  const std::array<RecordKind, kRecordsPerHeader>* kinds;
  bool subGrid;  // a sub-grid's header, whose first record names it

  int RecordStart(int record) const { return valueOffsets[record] - kLabelSize; }
  // A record ends where the next begins; the last at the header's end. So an integer record
  // of the Canadian layout takes its 4 bytes of padding with it.
  int RecordEnd(int record) const {
    return record + 1 < kRecordsPerHeader ? RecordStart(record + 1) : size;
  }
};

HeaderShape OverviewShape(const GridLayout& layout) {
  const OverviewOffsets& o = layout.overview;
  return {{o.overviewRecordCount, o.subGridRecordCount, o.subGridCount, o.shiftType, o.version,
           o.sourceDatum, o.targetDatum, o.sourceSemiMajorAxis, o.sourceSemiMinorAxis,
           o.targetSemiMajorAxis, o.targetSemiMinorAxis},
          o.size,
          &kOverviewKinds,
          false};
}

HeaderShape SubGridShape(const GridLayout& layout) {
  const SubGridOffsets& s = layout.subGrid;
  return {{s.name, s.parent, s.created, s.updated, s.south, s.north, s.east, s.west,
           s.latitudeIncrement, s.longitudeIncrement, s.nodeCount},
          s.size,
          &kSubGridKinds,
          true};
}

// The characters of a field up to its first NUL, as "%s" prints a C text.
std::string CText(const unsigned char* bytes, std::size_t size) {
  const char* chars = reinterpret_cast<const char*>(bytes);
  return std::string(chars, strnlen(chars, size));
}

// "%10.6f" without a temporary text: std::to_chars prints the exact value rounded to six
// decimals, half to even, as printf does, and never consults the locale.
void AppendNodeValue(std::string& out, double value) {
  std::array<char, 64> digits;  // a float has at most 39 integer digits
  const auto [end, error] = std::to_chars(digits.data(), digits.data() + digits.size(), value,
                                          std::chars_format::fixed, 6);
  if (error != std::errc()) {
    out += text::Format("%10.6f", value);
    return;
  }
  const auto length = static_cast<std::size_t>(end - digits.data());
  if (length < 10) out.append(10 - length, ' ');
  out.append(digits.data(), length);
}

void AppendNodeLine(std::string& out, const unsigned char* record) {
  for (int i = 0; i < 4; ++i) AppendNodeValue(out, detail::LoadFloat32(record + 4 * i));
  out += '\n';
}

// Reads up to `size` bytes; returns how many came.
std::size_t ReadUpTo(std::FILE* in, unsigned char* destination, std::size_t size) {
  return std::fread(destination, 1, size, in);
}

// Writes the export through a buffer of about kFlushSize bytes.
class Exporter {
 public:
  Exporter(std::FILE* in, text::AtomicFile& out, const GridLayout& layout,
           const GridExportCallbacks& callbacks)
      : in_(in), out_(out), layout_(layout), callbacks_(callbacks) {
    buffer_.reserve(kFlushSize + 1024);
  }

  // Writes the overview (already read: `overview` holds its bytes, fewer when the file is
  // shorter) and every sub-grid. Returns where the grid file ended early, or nothing; stops
  // as well when the text file cannot be written.
  std::optional<std::string> Run(std::span<const unsigned char> overview, int subGridCount) {
    const HeaderShape overviewShape = OverviewShape(layout_);
    if (!WriteHeader(overviewShape, overview)) return "in its overview header";

    const HeaderShape subGridShape = SubGridShape(layout_);
    std::vector<unsigned char> header(static_cast<std::size_t>(subGridShape.size));
    std::array<unsigned char, kNodeRecordSize> node;
    for (int s = 0; s < subGridCount && !failed(); ++s) {
      const std::string which = text::Format("sub-grid %d of %d", s + 1, subGridCount);
      const std::size_t got = ReadUpTo(in_, header.data(), header.size());
      if (!WriteHeader(subGridShape, std::span(header.data(), got))) {
        return "in the header of " + which;
      }
      const int nodes = ReadSubGridHeader(header.data(), layout_).nodeCount;
      const int total = nodes > 0 ? nodes : 0;
      const int step = total / kProgressSteps > 0 ? total / kProgressSteps : 1;
      Progress(0, total);
      for (int i = 0; i < total; ++i) {
        if (i % step == 0 && i > 0) Progress(i, total);
        if (ReadUpTo(in_, node.data(), node.size()) < node.size()) {
          return text::Format("in %s, after %d of its %d nodes", which.c_str(), i, total);
        }
        AppendNodeLine(buffer_, node.data());
        ++lines_;
        if (buffer_.size() >= kFlushSize && !Flush()) return std::nullopt;
      }
      Progress(total, total);
    }
    return std::nullopt;
  }

  // Hands the rest of the text to the file; false when any of it could not be written.
  bool Flush() {
    failed_ = !out_.Write(buffer_) || failed_;
    buffer_.clear();
    return !failed();
  }

  bool failed() const { return failed_; }
  std::uint64_t lines() const { return lines_; }

 private:
  // Writes the lines of the header records that `bytes` holds whole; false when it does not
  // hold them all (the file ended).
  bool WriteHeader(const HeaderShape& shape, std::span<const unsigned char> bytes) {
    for (int r = 0; r < kRecordsPerHeader; ++r) {
      if (static_cast<std::size_t>(shape.RecordEnd(r)) > bytes.size()) return false;
      const unsigned char* record = bytes.data() + shape.RecordStart(r);
      const unsigned char* value = bytes.data() + shape.valueOffsets[static_cast<std::size_t>(r)];
      const std::string label = CText(record, kLabelSize);
      const RecordKind kind = (*shape.kinds)[static_cast<std::size_t>(r)];
      switch (kind) {
        case RecordKind::kCount:
          Line(text::Format("%8s%3d", label.c_str(), detail::LoadInt32(value)));
          break;
        case RecordKind::kText: {
          const std::string recordText = CText(record, kTextRecordSize);
          Line(text::Format("%16s", recordText.c_str()));
          // The sub-grid being written is shown as soon as its name is known.
          if (shape.subGrid && r == 0 && callbacks_.subGridStarted) {
            callbacks_.subGridStarted(recordText);
          }
          break;
        }
        case RecordKind::kOverviewReal:
          Line(text::Format("%8s%12.3f", label.c_str(), detail::LoadFloat64(value)));
          break;
        case RecordKind::kSubGridReal:
          Line(text::Format("%8s%15.6f", label.c_str(), detail::LoadFloat64(value)));
          break;
        case RecordKind::kSubGridNodes:
          Line(text::Format("%8s %d", label.c_str(), detail::LoadInt32(value)));
          break;
      }
    }
    return true;
  }

  void Line(const std::string& line) {
    buffer_ += line;
    buffer_ += '\n';
    ++lines_;
  }

  void Progress(int written, int total) {
    if (callbacks_.progress) callbacks_.progress(written, total);
  }

  std::FILE* in_;
  text::AtomicFile& out_;
  const GridLayout& layout_;
  const GridExportCallbacks& callbacks_;
  std::string buffer_;
  std::uint64_t lines_ = 0;
  bool failed_ = false;
};

// Two names of one file: the same text, or paths that lead to the same file (a file system
// that ignores case, links).
bool SameFile(const std::string& a, const std::string& b) {
  if (a == b) return true;
  std::error_code error;
  const bool same = fs::equivalent(fs::path(a), fs::path(b), error);
  return same && !error;
}

void Refuse(ui::Desktop& desktop, const std::string& text) {
  desktop.ShowMessage(text, "ERROR", ui::MessageIcon::Error);
}

}  // namespace

std::optional<std::string> GridTextPath(const std::string& gridPath) {
  if (fs::path(gridPath).filename().string().size() < 3) return std::nullopt;
  return gridPath.substr(0, gridPath.size() - 3) + "asc";
}

std::string GridNodeLine(float latitudeShift, float longitudeShift, float latitudeAccuracy,
                         float longitudeAccuracy) {
  std::string line;
  for (const float value : {latitudeShift, longitudeShift, latitudeAccuracy, longitudeAccuracy}) {
    AppendNodeValue(line, value);
  }
  line += '\n';
  return line;
}

GridExportResult ExportGridText(const std::string& gridPath, const GridExportCallbacks& callbacks,
                                ui::Desktop& desktop) {
  GridExportResult result;
  text::OpenedFile opened = text::OpenRegularFile(gridPath, "grid file");
  if (!opened.file) {
    desktop.ShowMessage(ui::WithReason("Open failed on input file", opened.refusal), "ERROR",
                        ui::MessageIcon::Error, ui::MessageButtons::OkCancel);
    return result;
  }
  std::FILE* const in = opened.file.get();

  const std::optional<std::string> textPath = GridTextPath(gridPath);
  if (!textPath) {
    Refuse(desktop, text::Format("No text file name can be made from %s\nNothing was written",
                                 gridPath.c_str()));
    return result;
  }
  result.textPath = *textPath;
  // Writing the text would truncate the grid being read.
  if (SameFile(gridPath, *textPath)) {
    Refuse(desktop,
           text::Format("%s\nThe text file would replace the grid file itself: nothing was written",
                        gridPath.c_str()));
    return result;
  }

  // The layout from the file's own overview header; the longer (Canadian) overview is read,
  // or as much of it as the file holds.
  std::array<unsigned char, static_cast<std::size_t>(kCanadianLayout.overview.size)> overview{};
  const std::size_t got = ReadUpTo(in, overview.data(), overview.size());
  const LayoutDetection detection = DetectGridLayout(std::span(overview.data(), got));
  if (detection.layout == nullptr) {
    Refuse(desktop, text::Format("%s\nis no NTv2 grid file: its headers hold no sub-grid count "
                                 "of %d to %d\nNothing was written",
                                 gridPath.c_str(), kMinSubGrids, kMaxSubGrids));
    return result;
  }
  // The Australian overview is shorter: the bytes after it belong to the first sub-grid.
  const std::size_t overviewSize = static_cast<std::size_t>(detection.layout->overview.size);
  if (::fseeko(in, static_cast<off_t>(std::min(got, overviewSize)), SEEK_SET) != 0) {
    desktop.ShowMessage("Open failed on input file", "ERROR", ui::MessageIcon::Error,
                        ui::MessageButtons::OkCancel);
    return result;
  }

  std::error_code error;
  if (fs::exists(fs::path(*textPath), error) &&
      desktop.ShowMessage(*textPath, "File Exists Overwrite", ui::MessageIcon::Question,
                          ui::MessageButtons::YesNo) != ui::MessageAnswer::Yes) {
    return result;
  }
  // The text file takes its name only when it is written whole; a failed write leaves an
  // earlier text file as it was.
  const std::unique_ptr<text::AtomicFile> out = text::AtomicFile::Create(*textPath);
  if (!out) {
    Refuse(desktop,
           text::Format("Cannot create the text file\n%s\nNothing was written", textPath->c_str()));
    return result;
  }

  Exporter exporter(in, *out, *detection.layout, callbacks);
  const std::optional<std::string> endedEarly =
      exporter.Run(std::span(overview.data(), std::min(got, overviewSize)), detection.subGridCount);
  exporter.Flush();
  result.lines = exporter.lines();

  if (exporter.failed() || !out->Commit()) {
    result.status = GridExportStatus::kWriteFailed;
    Refuse(desktop,
           text::Format("%s\nThe text file could not be written completely\nNothing was written",
                        textPath->c_str()));
    return result;
  }
  desktop.ShowMessage(*textPath, "ASCII FILE COMPLETE", ui::MessageIcon::Information);
  if (endedEarly) {
    result.status = GridExportStatus::kIncomplete;
    desktop.ShowMessage(text::Format("The grid file ends early, %s:\n%s\nThe text file is "
                                     "incomplete",
                                     endedEarly->c_str(), textPath->c_str()),
                        "WARNING", ui::MessageIcon::Warning);
  } else {
    result.status = GridExportStatus::kComplete;
  }
  return result;
}

}  // namespace tarvo::ntv2
