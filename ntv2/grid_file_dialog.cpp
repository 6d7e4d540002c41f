#include "ntv2/grid_file_dialog.h"

#include <algorithm>

#include "ntv2/grid_datum.h"
#include "ntv2/grid_export.h"
#include "ntv2/grid_file.h"
#include "ntv2/grid_messages.h"

namespace tarvo::ntv2 {
namespace {

constexpr const char* kInitialFileText = "Select File";
// A stored path of this many characters or fewer is no file to read on opening.
constexpr std::size_t kShortestStoredPath = 6;
// OK refuses a pending path shorter than this.
constexpr std::size_t kShortestGridPath = 6;
constexpr const char* kNoGda2020Text = "None: 7 parameters (conformal)";

bool IsFile(const std::string& path) {
  std::error_code error;
  return std::filesystem::is_regular_file(std::filesystem::path(path), error) && !error;
}

}  // namespace

GridFileDialog::GridFileDialog(ui::Desktop& desktop, GridChoice& grid,
                               std::filesystem::path startDirectory)
    : ui::Dialog(desktop), grid_(grid), startDirectory_(std::move(startDirectory)) {
  using ui::ControlKind;
  SetTemplate("High Accuracy - NTv2 Interpolation Grids", 268, 190);
  SetHelpTopic("gridfile");

  Add(ControlKind::DropDownCombo, kFileList, "", {8, 8, 252, 120}, ui::kSorted)
      .Bind(fileText_)
      .BindItems(files_)
      .Name("Grid file")
      .OnDropDown(&Self::DropDownList)
      .OnSelect(&Self::SelectFile)
      .OnLeave(&Self::LeaveList);

  Button(kGetGsbFile, "&Get GSB File", {8, 30, 76, 14}).OnClick(&Self::GetGsbFile);
  ReadOnlyEdit(kFormat, {8, 48, 76, 12}).Bind(header_.format).Name("Grid format");
  ReadOnlyEdit(kDatum, {8, 64, 76, 12}).Bind(header_.datum).Name("Datum");

  // The extents: a table with a column per coordinate and a row per end.
  Static("Latitude", {124, 32, 66, 10}, ui::kCenter);
  Static("Longitude", {194, 32, 66, 10}, ui::kCenter);
  Static("Max.", {96, 48, 26, 10});
  ReadOnlyEdit(kMaxLatitude, {124, 46, 66, 12}).Bind(header_.maxLatitude).Name("Max. latitude");
  ReadOnlyEdit(kMaxLongitude, {194, 46, 66, 12}).Bind(header_.maxLongitude).Name("Max. longitude");
  Static("Min.", {96, 64, 26, 10});
  ReadOnlyEdit(kMinLatitude, {124, 62, 66, 12}).Bind(header_.minLatitude).Name("Min. latitude");
  ReadOnlyEdit(kMinLongitude, {194, 62, 66, 12}).Bind(header_.minLongitude).Name("Min. longitude");

  Button(kConvert, "Convert to &ASCII\r(Large Files)", {8, 84, 76, 24})
      .OnClick(&Self::ConvertToAscii);
  Add(ControlKind::ProgressBar, kProgress, "", {96, 85, 164, 9}).Name("Export progress");
  ReadOnlyEdit(kSubGrid, {96, 96, 164, 12}).Bind(subGridText_).Name("Sub-grid");

  Static("GDA94 -> GDA2020 grid, for MGA2020 (none: 7 parameters)", {8, 116, 252, 10});
  Button(kGetGda2020, "Get GDA&2020 Grid", {8, 128, 76, 14}).OnClick(&Self::GetGda2020Grid);
  Button(kNoGda2020, "&None", {8, 146, 76, 14}).OnClick(&Self::NoGda2020Grid);
  ReadOnlyEdit(kGda2020Path, {96, 129, 164, 12}).Bind(gda2020Path_).Name("GDA2020 grid file");
  ReadOnlyEdit(kGda2020Datums, {96, 147, 164, 12}).Bind(gda2020Datums_).Name("GDA2020 grid datums");

  DefaultButton(kOk, "&OK", {154, 168, 50, 14}).OnClick(&Self::Ok);
  Button(kCancel, "&Cancel", {210, 168, 50, 14}).OnClick(&Self::CancelClicked);
}

void GridFileDialog::OnShow() {
  fileText_ = kInitialFileText;
  files_.clear();
  header_ = GridHeaderTexts{};
  subGridText_.clear();
  gda2020Path_ = grid_.gda2020GridPath;
  gda2020Datums_ = gda2020Path_.empty() ? kNoGda2020Text : "GDA94 -> GDA2020";
  if (grid_.gridFilePath.size() > kShortestStoredPath) {
    fileText_ = grid_.gridFilePath;
    ReadGridHeader(grid_.gridFilePath, GridCaller::kStoredPath, header_, grid_, desktop());
  }
}

// The list is searched afresh each time it opens, so files copied into the data folder while
// the dialog is open appear.
void GridFileDialog::DropDownList() {
  files_ = desktop().FindFiles(startDirectory_ / "data", "*.gsb");
  std::sort(files_.begin(), files_.end());
  if (files_.empty()) files_.push_back(kNoFiles);
}

void GridFileDialog::SelectFile() {
  const std::optional<std::string> chosen = SelectedText(kFileList);
  if (!chosen) return;
  fileText_ = *chosen;
  ReadGridHeader(fileText_, GridCaller::kListChoice, header_, grid_, desktop());
}

// A path typed into the list's edit part becomes the file text, which the export uses.
void GridFileDialog::LeaveList() {
  if (ControlModified(kFileList)) fileText_ = ControlText(kFileList);
}

void GridFileDialog::GetGsbFile() {
  const std::optional<std::string> chosen = desktop().ChooseFile(kFileFilter, true);
  if (!chosen) return;
  fileText_ = *chosen;
  const std::string previous = grid_.gridFilePath;
  grid_.gridFilePath = *chosen;
  if (!ReadGridHeader(*chosen, GridCaller::kGetGsbFile, header_, grid_, desktop())) {
    // The refusal has been shown; a file that cannot be used is not left as the grid in use.
    grid_.gridFilePath = previous;
  }
}

void GridFileDialog::ConvertToAscii() {
  GridExportCallbacks callbacks;
  callbacks.subGridStarted = [this](const std::string& record) {
    subGridText_ = record;
    Refresh();
    KeepPainting();
  };
  callbacks.progress = [this](int written, int total) {
    SetProgress(kProgress, 0, total, written);
    KeepPainting();
  };
  ExportGridText(fileText_, callbacks, desktop());
}

void GridFileDialog::GetGda2020Grid() {
  const std::optional<std::string> chosen = desktop().ChooseFile(kFileFilter, true);
  if (!chosen) return;
  GridOpenStatus status;
  const std::unique_ptr<GridFile> file = GridFile::Open(*chosen, status);
  if (!file) {
    ShowInvalidGridFile(desktop(), GridCaller::kGetGsbFile, *chosen,
                        GridOpenReason(*chosen, status));
    return;
  }
  const auto trimmed = [](const std::string& name) {
    const std::size_t end = name.find_last_not_of(std::string(" \0", 2));
    return end == std::string::npos ? std::string() : name.substr(0, end + 1);
  };
  const std::string datums = trimmed(file->systemFrom()) + " -> " + trimmed(file->systemTo());
  if (Gda2020GridFrom(file->systemFrom(), file->systemTo(), *chosen) !=
      Gda2020Grid::kGda94ToGda2020) {
    desktop().ShowMessage(ui::WithReason("Not a GDA94 to GDA2020 grid", *chosen + ": " + datums),
                          "ERROR", ui::MessageIcon::Error);
    return;
  }
  gda2020Path_ = *chosen;
  gda2020Datums_ = datums == " -> " ? "GDA94 -> GDA2020 (by its name)" : datums;
}

void GridFileDialog::NoGda2020Grid() {
  gda2020Path_.clear();
  gda2020Datums_ = kNoGda2020Text;
}

void GridFileDialog::Ok() {
  const std::string& path = header_.pendingPath;
  if (path.size() < kShortestGridPath || !IsFile(path)) {
    desktop().ShowMessage(path, "ERROR - Invalid Grid File", ui::MessageIcon::Error);
    return;
  }
  grid_.gridMethod =
      header_.datum == "AGD66" ? GridMethod::GridFileAgd66 : GridMethod::GridFileAgd84;
  grid_.gridFilePath = path;
  grid_.gda2020GridPath = gda2020Path_;
  Close(ui::kResultOk);
}

void GridFileDialog::CancelClicked() {
  Close(ui::kResultCancel);
}

}  // namespace tarvo::ntv2
