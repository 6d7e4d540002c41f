// Fuzz target: the program's settings files of arbitrary bytes, read at start-up and by the
// dialogs, followed by a user's session on top of them.
//
// Input: up to five parts separated by the line "=====": tarvo_prm.dat, Tarvo.var,
// tarvofile.dat, the coordinate file INPUT.TXT, and a session. A part that is absent leaves
// its file missing (the first-run case for tarvo_prm.dat). Each session line is one action
// on the main window: its first character says which, the rest is what is typed or picked:
//   E N H A O  type into From East, North, height, latitude, longitude (then leave it)
//   F T Z Y    pick entry <digit> of the From system, To system, From zone, To zone list
//   C X W G R  Calculate, From XYZ, To XYZ, Geo-Convert, Reset
//   V P        Convert File, Change Options (opened and closed as by Escape)
// The folder also holds grid.gsb, a valid grid over Australia, for a saved grid path to name.
// Paths in the files are kept inside the scratch folder: their '/' become '_'.
//
// The run: the three readers directly, then the main window's start-up and the session,
// then the file conversion dialog on tarvofile.dat (preview, Calculate, Return), and Save &
// Exit. Besides the sanitizers it checks that what the program writes reads back: the
// tarvo_prm.dat of Save & Exit is accepted by the start-up reader, and the tarvofile.dat of
// Return reads back into the settings the dialog held.
#include <unistd.h>

#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "fileconv/file_conversion_dialog.h"
#include "fileconv/file_conversion_settings.h"
#include "fuzz/fuzz_support.h"
#include "mainwindow/main_window.h"
#include "mainwindow/saved_settings.h"
#include "ntv2/grid_interpolate.h"
#include "params/parameter_sets.h"
#include "tests/support/synthetic_grid.h"

namespace {

using namespace tarvo;
using tarvo::fuzz::Require;
namespace fs = std::filesystem;
using Main = mainwindow::MainTransformDialog;

constexpr std::string_view kSeparator = "\n=====\n";

std::vector<std::string_view> Parts(std::string_view input) {
  std::vector<std::string_view> parts;
  while (parts.size() < 4) {
    const std::size_t at = input.find(kSeparator);
    if (at == std::string_view::npos) break;
    parts.push_back(input.substr(0, at));
    input.remove_prefix(at + kSeparator.size());
  }
  parts.push_back(input);
  return parts;
}

// The file with '/' made '_' in the lines that hold paths (1-based), so that no path leads
// out of the scratch folder.
std::string ConfinePaths(std::string_view file, std::initializer_list<int> pathLines) {
  std::string confined(file);
  int line = 1;
  for (char& c : confined) {
    if (c == '\n') {
      ++line;
    } else if (c == '/' && std::find(pathLines.begin(), pathLines.end(), line) != pathLines.end()) {
      c = '_';
    }
  }
  return confined;
}

void PlaceFile(const fs::path& path, const std::vector<std::string_view>& parts, std::size_t index,
               std::initializer_list<int> pathLines = {}) {
  std::error_code ignored;
  if (index < parts.size()) {
    fuzz::WriteBytes(path, ConfinePaths(parts[index], pathLines));
  } else {
    fs::remove(path, ignored);
  }
}

void WriteGrid(const fs::path& path) {
  ntv2::testing::SyntheticGrid synthetic;
  ntv2::testing::ExactField field;
  synthetic.subGrids.push_back({"A66_NAT ", "NONE", -45 * 3600.0, -9 * 3600.0, -155 * 3600.0,
                                -110 * 3600.0, 3600.0, 3600.0, field.Nodes()});
  fuzz::WriteBytes(path, ntv2::testing::GridBytes(synthetic, ntv2::kAustralianLayout));
}

void RunSession(fuzz::HeadlessView& view, std::string_view session) {
  std::size_t start = 0;
  int actions = 0;
  while (start < session.size() && actions++ < 64 && !view.isClosed()) {
    const std::size_t end = std::min(session.find('\n', start), session.size());
    const std::string_view line = session.substr(start, end - start);
    start = end + 1;
    if (line.empty()) continue;
    const std::string_view rest = line.substr(1);
    const int index = rest.empty() ? 0 : rest[0] - '0';
    const auto type = [&](int id) {
      view.Type(id, rest);
      view.Blur();
    };
    switch (line[0]) {
      case 'E':
        type(Main::kFromEast);
        break;
      case 'N':
        type(Main::kFromNorth);
        break;
      case 'H':
        type(Main::kFromHeight);
        break;
      case 'A':
        type(Main::kFromLatitude);
        break;
      case 'O':
        type(Main::kFromLongitude);
        break;
      case 'F':
        view.SelectIndex(Main::kFromSystem, index);
        break;
      case 'T':
        view.SelectIndex(Main::kToSystem, index);
        break;
      case 'Z':
        view.SelectIndex(Main::kFromZone, index);
        break;
      case 'Y':
        view.SelectIndex(Main::kToZone, index);
        break;
      case 'C':
        view.Click(Main::kCalculate);
        break;
      case 'X':
        view.Click(Main::kFromXyz);
        break;
      case 'W':
        view.Click(Main::kToXyz);
        break;
      case 'G':
        view.Click(Main::kGeoConvert);
        break;
      case 'R':
        view.Click(Main::kReset);
        break;
      case 'V':
        view.Click(Main::kConvertFile);
        break;
      case 'P':
        view.Click(Main::kChangeOptions);
        break;
      default:
        break;
    }
  }
}

// The file conversion dialog on the folder's tarvofile.dat: preview, a run, Return; what
// Return saved must read back as the dialog held it.
void ConvertFile(fuzz::FuzzDesktop& desktop, const engine::TransformSettings& transform,
                 ntv2::GridChoice& grid, const fs::path& folder) {
  ntv2::GridInterpolator interpolator;
  fileconv::BatchValues batch;
  fileconv::FileConversionDialog dialog(desktop, transform, grid, interpolator, batch, folder);
  fuzz::HeadlessView view(dialog);
  view.Open();
  view.Focus(fileconv::FileConversionDialog::kPreview);
  view.Click(fileconv::FileConversionDialog::kCalculate);
  view.Click(fileconv::FileConversionDialog::kReturn);
  if (!view.isClosed()) return;

  fileconv::FileConversionSettings reread;
  fileconv::BatchValues rereadBatch;
  if (!fileconv::LoadFileConversionSettings(folder, reread, rereadBatch)) return;
  // Word lines read back as the word without the blanks around it ("56 " of a zone list
  // reads as "56"); every other line as it was saved.
  using Field = std::string fileconv::FileConversionSettings::*;
  using S = fileconv::FileConversionSettings;
  const auto check = [&](Field field, bool word) {
    std::string_view held = dialog.settings().*field;
    if (word) {
      held.remove_prefix(std::min(held.find_first_not_of(" \t"), held.size()));
      held = held.substr(0, held.find_last_not_of(" \t") + 1);
    }
    const std::string& back = reread.*field;
    Require(held == back, "tarvofile.dat reads back as the dialog saved it",
            std::string(held) + "\" read back as \"" + back);
  };
  for (const Field field : {&S::inputSystem, &S::outputSystem, &S::inputZone, &S::outputZone,
                            &S::firstFieldNumber, &S::secondFieldNumber, &S::headerLineCount}) {
    check(field, true);
  }
  for (const Field field :
       {&S::inputUnits, &S::inputFileName, &S::outputUnits, &S::outputFileName, &S::fileTypeLabel,
        &S::firstFieldLabel, &S::secondFieldLabel, &S::heightFieldLabel, &S::heightField}) {
    check(field, false);
  }
}

// Relative paths in the files name files of the scratch folder: it is the working directory
// while an input runs, and the fuzzer's own again afterwards (where it keeps its corpus).
class InFolder {
 public:
  explicit InFolder(const fs::path& folder) : previous_(fs::current_path()) {
    Require(::chdir(folder.c_str()) == 0, "the scratch folder is the working directory");
  }
  ~InFolder() { Require(::chdir(previous_.c_str()) == 0, "the working directory comes back"); }

 private:
  fs::path previous_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const fs::path& folder = fuzz::ScratchFolder();
  const InFolder inFolder(folder);

  const std::vector<std::string_view> parts =
      Parts(std::string_view(reinterpret_cast<const char*>(data), size));
  PlaceFile(folder / "tarvo_prm.dat", parts, 0, {32});
  PlaceFile(folder / "Tarvo.var", parts, 1);
  PlaceFile(folder / "tarvofile.dat", parts, 2, {6, 8});
  PlaceFile(folder / "INPUT.TXT", parts, 3);
  const std::string_view session = parts.size() > 4 ? parts[4] : std::string_view();
  // Anything a run or a session wrote before goes; the grid is written afresh, since a run
  // may have named it as its output.
  std::error_code ignored;
  fs::remove(folder / "tarvo_rpt.txt", ignored);
  WriteGrid(folder / "grid.gsb");

  fuzz::FuzzDesktop desktop(folder);

  // The readers on their own.
  {
    mainwindow::WindowTexts texts;
    engine::TransformSettings settings;
    ntv2::GridChoice grid;
    std::ifstream in(folder / "tarvo_prm.dat", std::ios::binary);
    if (in) mainwindow::ReadSavedSettings(in, texts, settings, grid);
    (void)params::LoadParameterFile(folder);
    fileconv::FileConversionSettings conversion;
    fileconv::BatchValues batch;
    fileconv::LoadFileConversionSettings(folder, conversion, batch);
  }

  // Start-up, the session, the file conversion dialog, Save & Exit.
  engine::TransformSettings settings;
  ntv2::GridChoice grid;
  bool savedAndExited = false;
  {
    Main window(desktop, settings, grid, folder);
    fuzz::HeadlessView view(window);
    view.Open();
    RunSession(view, session);
    ConvertFile(desktop, settings, grid, folder);
    if (!view.isClosed()) {
      view.Click(Main::kSaveAndExit);
      savedAndExited = view.isClosed();
    }
  }
  if (!savedAndExited) return 0;

  // What Save & Exit wrote is a file the next start accepts.
  mainwindow::WindowTexts texts;
  engine::TransformSettings again;
  ntv2::GridChoice againGrid;
  std::ifstream saved(folder / "tarvo_prm.dat", std::ios::binary);
  Require(saved && mainwindow::ReadSavedSettings(saved, texts, again, againGrid),
          "the saved tarvo_prm.dat is read at the next start");
  return 0;
}
