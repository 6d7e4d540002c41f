// Fuzz target: the batch conversion of a coordinate file of arbitrary lines under arbitrary
// settings. The first bytes choose the settings (file type; input and output units, systems,
// zones and notations, each sometimes a text no list offers; field numbers, height and zone
// fields; header lines; output contents; echo; the method, with an NTv2 grid covering
// Australia for the High Accuracy route; now and then the seven parameters as texts); the
// rest is the input file. The run goes through RunBatchConversion in a scratch folder with
// a desktop that answers every question with its first button.
//
// Besides the sanitizers it checks the run's account: records converted and records outside
// the grid never outnumber the input's lines, a run that converted left its output file, one
// that converted nothing left an earlier output as it was, and the run made again on three
// threads in blocks of a few bytes writes the same bytes with the same counts and final text.
#include "fuzz/batch_conversion_fuzzer.h"

#include <cstdint>
#include <memory>
#include <string>

#include "angles/angle_format.h"
#include "engine/grid_system.h"
#include "fileconv/batch_run.h"
#include "fileconv/record_reader.h"
#include "fileconv/run_grid.h"
#include "fuzz/fuzz_support.h"
#include "ntv2/grid_file.h"
#include "tests/support/synthetic_grid.h"

namespace {

using namespace tarvo;
using tarvo::fuzz::Require;
namespace fs = std::filesystem;

// A grid over the whole of Australia at one degree, with a finer sub-grid over Sydney, in
// the file convention (arc seconds, north and west positive).
std::shared_ptr<const ntv2::GridFile> AustraliaGrid() {
  static const std::shared_ptr<const ntv2::GridFile> grid = [] {
    ntv2::testing::SyntheticGrid synthetic;
    ntv2::testing::ExactField field;
    synthetic.subGrids.push_back({"AUSTRALI", "NONE", -45 * 3600.0, -9 * 3600.0, -155 * 3600.0,
                                  -110 * 3600.0, 3600.0, 3600.0, field.Nodes()});
    synthetic.subGrids.push_back({"SYDNEY  ", "AUSTRALI", -34 * 3600.0, -33 * 3600.0, -152 * 3600.0,
                                  -150 * 3600.0, 300.0, 300.0, field.Nodes()});
    const fs::path path = fuzz::ScratchFolder() / "australia.gsb";
    fuzz::WriteBytes(path, ntv2::testing::GridBytes(synthetic, ntv2::kCanadianLayout));
    ntv2::GridOpenStatus status;
    std::shared_ptr<const ntv2::GridFile> opened = ntv2::GridFile::Open(path, status);
    Require(opened != nullptr, "the synthetic grid opens");
    return opened;
  }();
  return grid;
}

const char* const kUnits[] = {"East, North, (Height)", "Latitude,Longitude,(Height)", "X,Y & Z",
                              "Both, E,N,H,Lat & Long", "Metres"};
const char* const kSystems[] = {"AGD/AMG", "GDA/MGA", "AGD/ISG", "WGS84"};
const char* const kZones[] = {"49",  "50", "54", "55", "56", "56 ", "541", "552",
                              "563", "57", "5",  "",   "99", "-55", "553x"};
const char* const kHeights[] = {"Ignore", "Not Used", "Yes", "No ", "0", "1", "2", "3", "4", "-1"};
const char* const kZoneFields[] = {"Not Used", "0", "1", "2", "3", "4", "5"};

template <std::size_t N>
const char* Pick(fuzz::ByteReader& in, const char* const (&items)[N]) {
  return items[in.Pick(static_cast<int>(N))];
}

std::string FieldNumber(fuzz::ByteReader& in) {
  const int value = in.Pick(8) - 1;  // -1 to 6
  return std::to_string(value);
}

}  // namespace

namespace tarvo::fuzz {

BatchConversionCase RunBatchConversionCase(const std::uint8_t* data, std::size_t size) {
  fuzz::ByteReader in(data, size);
  const fs::path& folder = fuzz::ScratchFolder();
  fuzz::FuzzDesktop desktop(folder);

  fileconv::BatchValues batch;
  batch.fileTypeCode = static_cast<fileconv::FileTypeCode>(in.Pick(3));
  batch.echo = in.Flag();
  batch.longestLineLength = in.Byte();

  fileconv::FileConversionSettings settings;
  settings.fileTypeLabel = std::string(fileconv::FileTypeLabel(batch.fileTypeCode));
  settings.inputUnits = Pick(in, kUnits);
  settings.outputUnits = Pick(in, kUnits);
  settings.inputSystem = Pick(in, kSystems);
  settings.outputSystem = Pick(in, kSystems);
  settings.inputZone = Pick(in, kZones);
  settings.outputZone = Pick(in, kZones);
  settings.firstFieldNumber = FieldNumber(in);
  settings.secondFieldNumber = FieldNumber(in);
  settings.heightField = Pick(in, kHeights);
  settings.inputZoneField = Pick(in, kZoneFields);
  settings.outputZoneField = Pick(in, kZoneFields);
  settings.headerLineCount = std::to_string(in.Pick(4));
  settings.inputFileName = (folder / "input.txt").string();
  settings.outputFileName = (folder / "output.txt").string();

  engine::TransformSettings transform;
  const auto labels = angles::OutputFormatLabels();
  transform.inputFormat = std::string(labels[static_cast<std::size_t>(in.Pick(8))]);
  settings.outputFormat = std::string(labels[static_cast<std::size_t>(in.Pick(8))]);
  transform.accuracyMethod =
      in.Flag() ? engine::AccuracyMethod::High : engine::AccuracyMethod::Medium;
  settings.gridFlag = transform.accuracyMethod == engine::AccuracyMethod::High;

  const std::uint8_t options = in.Byte();
  if ((options & 1) != 0) {
    // The seven parameters and the ellipsoid as any texts, as Tarvo.var may hold them.
    for (std::string* text :
         {&transform.semiMajorAxis, &transform.inverseFlattening, &transform.shiftX,
          &transform.shiftY, &transform.shiftZ, &transform.rotationX, &transform.rotationY,
          &transform.rotationZ, &transform.scalePpm}) {
      *text = in.Text(24);
    }
  }
  fileconv::JobChoices choices;
  choices.gridMethod =
      (options & 2) != 0 ? ntv2::GridMethod::NswMrePrograms : ntv2::GridMethod::GridFileAgd66;
  if ((options & 4) == 0) choices.grid = AustraliaGrid();
  choices.contents = (options & 8) != 0 ? fileconv::OutputContents::ResultsWithInput
                                        : fileconv::OutputContents::ResultsOnly;
  fileconv::BatchRunOptions run;
  std::uint64_t lastPosition = 0;
  run.progress = [&lastPosition](std::uint64_t position, std::uint64_t size) {
    Require(position >= lastPosition, "progress never goes back");
    lastPosition = position;
    (void)size;
  };

  const std::string_view contents = in.Rest();
  fuzz::WriteBytes(settings.inputFileName, contents);
  std::error_code ignored;
  if ((options & 16) != 0) fs::remove(settings.outputFileName, ignored);
  const bool outputExisted = fs::exists(settings.outputFileName, ignored);
  const std::string outputBefore = outputExisted ? fuzz::ReadBytes(settings.outputFileName) : "";

  // What the preview counts of each line.
  std::uint64_t lines = 0;
  for (std::size_t start = 0; start < contents.size(); ++lines) {
    const std::size_t end = std::min(contents.find('\n', start), contents.size());
    (void)fileconv::CountSeparators(contents.substr(start, end - start), batch.fileTypeCode);
    start = end + 1;
  }

  // The dialog's run: the job of its texts, refused with a message or run.
  const auto job = fileconv::MakeBatchJob(settings, batch, transform, choices, desktop);
  const fileconv::BatchRunResult result =
      job ? fileconv::RunBatchConversion(*job, run, desktop) : fileconv::BatchRunResult{};
  Require(result.count + result.outsideGrid + result.noResult <= lines,
          "no more records than lines");
  if (result.converted && !result.outputKept) {
    Require(fs::exists(settings.outputFileName), "a run leaves its output");
  }
  if (result.outputKept) {
    Require(fs::exists(settings.outputFileName, ignored) == outputExisted &&
                (!outputExisted || fuzz::ReadBytes(settings.outputFileName) == outputBefore),
            "a run that converted nothing leaves the output as it was");
  }
  const BatchConversionCase outcome{
      result,          settings.outputFileName, desktop.messages(),
      desktop.beeps(), desktop.lastMessage(),   desktop.lastCaption()};

  // The same run on three threads, in blocks of a few bytes, writes the same bytes and
  // counts the same.
  if (result.converted) {
    const auto output = [&] {
      return fs::exists(settings.outputFileName, ignored) ? fuzz::ReadBytes(settings.outputFileName)
                                                          : std::string();
    };
    const std::string written = output();
    run.jobs = 3;
    run.blockBytes = 1 + contents.size() % 61;
    lastPosition = 0;
    const fileconv::BatchRunResult again =
        fileconv::RunBatchConversion(*job, run, desktop);
    Require(again.count == result.count && again.outsideGrid == result.outsideGrid &&
                again.noResult == result.noResult && again.skipped == result.skipped &&
                again.stoppedAtLine == result.stoppedAtLine &&
                again.previewText == result.previewText && output() == written,
            "three threads in small blocks write what the run wrote");
  }
  return outcome;
}

}  // namespace tarvo::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  tarvo::fuzz::RunBatchConversionCase(data, size);
  return 0;
}
