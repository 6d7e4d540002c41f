#include "fileconv/file_conversion_dialog.h"

#include <algorithm>
#include <climits>
#include <span>
#include <string_view>

#include "angles/angle_format.h"
#include "engine/grid_system.h"
#include "fileconv/record_reader.h"
#include "fileconv/run_grid.h"
#include "ntv2/grid_layout.h"
#include "text/line_input.h"
#include "text/number_text.h"

namespace tarvo::fileconv {
namespace {

namespace fs = std::filesystem;

constexpr const char* kOpeningHelp =
    "This option takes an ASCII file in either E,N,H\r\nor Lat,Long format and converts to a "
    "2nd ASCII file\r\nin the required datum, zone and coordinates";
constexpr const char* kOpeningPreview = "Click here to Display input file";
constexpr const char* kInputFormatNotePrefix = "Input Latitude & Longitude format ";

// The file type list; picking entry i sets the type kFileTypes[i]. The first entry ends in a
// blank that the type's label (the setting shown and saved) does not have.
const std::vector<std::string> kFileTypeItems = {"CSV - Comma Separated ",
                                                 "SSV - Space(s) Separated"};
constexpr FileTypeCode kFileTypes[] = {FileTypeCode::Csv, FileTypeCode::Ssv, FileTypeCode::T27};

// The latitude/longitude output notation of list entry i (the list offers the first six).
constexpr angles::AngleFormat kOutputFormats[] = {
    angles::AngleFormat::Packed,         angles::AngleFormat::DmsBlanks,
    angles::AngleFormat::DecimalDegrees, angles::AngleFormat::DegreesMinutes,
    angles::AngleFormat::Radians,        angles::AngleFormat::Seconds,
    angles::AngleFormat::Minutes};

const std::vector<std::string> kSystems = {
    std::string(engine::GridSystem::kAmg), std::string(engine::GridSystem::kIsg),
    std::string(engine::GridSystem::kMga), std::string(engine::GridSystem::kMga2020)};

// The preview shows at most this many characters of a line, and this many lines.
constexpr std::size_t kPreviewLineLength = 255;
constexpr int kPreviewLines = 3;

constexpr const char* kFieldHelpTail = "\r\nThe left most field is 1";
constexpr const char* kNotUsedHelp = "NOT USED";

std::vector<std::string> Texts(std::span<const std::string_view> labels) {
  return {labels.begin(), labels.end()};
}

std::string Cut(std::string_view text, std::size_t length) {
  return std::string(text.substr(0, length));
}

}  // namespace

FileConversionDialog::FileConversionDialog(ui::Desktop& desktop,
                                           const engine::TransformSettings& transform,
                                           ntv2::GridChoice& grid,
                                           ntv2::GridInterpolator& interpolator, BatchValues& batch,
                                           std::filesystem::path startDirectory)
    : ui::Dialog(desktop),
      transform_(transform),
      grid_(grid),
      interpolator_(interpolator),
      batch_(batch),
      startDirectory_(std::move(startDirectory)) {
  using ui::ControlKind;
  using ui::kRightAlign;
  SetTemplate("File Conversion Option", 420, 340);
  SetHelpTopic("fileconv");

  // --- The input file ----------------------------------------------------------------
  Add(ControlKind::GroupBox, 1100, "Input File", {6, 3, 408, 152});
  Button(kGetInputFile, "Get &Input File", {12, 14, 64, 14}).OnClick(&Self::GetInputFile);
  Edit(kInputFile, {80, 15, 328, 13})
      .Bind(settings_.inputFileName)
      .Name("Input File")
      .OnFocus(&Self::EnterInputFile)
      .OnLeave(&Self::LeaveInputFile);
  Static("File Type", {12, 34, 36, 9});
  List(kFileType, {50, 32, 104, 40}, ui::kSorted)
      .Bind(settings_.fileTypeLabel)
      .Items(kFileTypeItems)
      .Name("File Type")
      .OnFocus(&Self::EnterFileType)
      .OnSelect(&Self::SelectFileType);
  Static("Number of Header Lines", {170, 34, 84, 9});
  Edit(kHeaderLines, {256, 32, 26, 13})
      .Bind(settings_.headerLineCount)
      .Name("Number of Header Lines")
      .OnFocus(&Self::EnterHeaderLines)
      .OnLeave(&Self::LeaveHeaderLines);
  Add(ControlKind::MultiLineEdit, kPreview, "", {12, 49, 396, 46}, ui::kReadOnly | ui::kNoWrap)
      .Bind(previewText_)
      .Name("Preview")
      .OnFocus(&Self::Preview);

  Static("From:", {12, 102, 22, 9});
  List(kInputSystem, {36, 100, 50, 60}, ui::kSorted)
      .Bind(settings_.inputSystem)
      .Items(kSystems)
      .Name("From system")
      .OnFocus(&Self::EnterInputSystem)
      .OnSelect(&Self::SelectInputSystem);
  Static("Zone", {94, 102, 20, 9});
  List(kInputZone, {116, 100, 36, 110}, ui::kSorted)
      .Bind(settings_.inputZone)
      .BindItems(inputZones_)
      .Name("From zone")
      .OnFocus(&Self::EnterInputZone)
      .OnDropDown(&Self::DropInputZones)
      .OnSelect(&Self::SelectInputZone);
  Static("Input Units", {170, 102, 44, 9});
  List(kInputUnits, {216, 100, 112, 60}, ui::kSorted)
      .Bind(settings_.inputUnits)
      .BindItems(units_)
      .Name("Input Units")
      .OnFocus(&Self::EnterInputUnits)
      .OnDropDown(&Self::DropUnits)
      .OnSelect(&Self::SelectInputUnits);

  // The fields of a record: coordinate fields, then the optional zone fields.
  Add(ControlKind::StaticText, kFirstFieldLabel, "", {12, 119, 56, 11}, kRightAlign)
      .Bind(settings_.firstFieldLabel);
  List(kFirstField, {72, 117, 36, 110})
      .Bind(settings_.firstFieldNumber)
      .BindItems(firstFields_)
      .Name("First field")
      .OnFocus(&Self::EnterFirstField)
      .OnSelect(&Self::SelectFirstField);
  Add(ControlKind::StaticText, kSecondFieldLabel, "", {112, 119, 60, 11}, kRightAlign)
      .Bind(settings_.secondFieldLabel);
  List(kSecondField, {176, 117, 36, 110})
      .Bind(settings_.secondFieldNumber)
      .BindItems(secondFields_)
      .Name("Second field")
      .OnFocus(&Self::EnterSecondField)
      .OnSelect(&Self::SelectSecondField);
  Add(ControlKind::StaticText, kHeightFieldLabel, "", {216, 119, 56, 11}, kRightAlign)
      .Bind(settings_.heightFieldLabel);
  List(kHeightField, {276, 117, 52, 110})
      .Bind(settings_.heightField)
      .BindItems(heightFields_)
      .Name("Height field")
      .OnFocus(&Self::EnterHeightField)
      .OnSelect(&Self::SelectHeightField);
  Static("Input Zone\r\nField (optional)", {12, 134, 60, 18}, ui::kRightAlign);
  List(kInputZoneField, {76, 135, 52, 110})
      .Bind(settings_.inputZoneField)
      .BindItems(inputZoneFields_)
      .Name("Input Zone Field")
      .OnFocus(&Self::EnterInputZoneField)
      .OnSelect(&Self::SelectInputZoneField);
  Static("Output Zone\r\nField (optional)", {148, 134, 64, 18}, ui::kRightAlign);
  List(kOutputZoneField, {216, 135, 52, 110})
      .Bind(settings_.outputZoneField)
      .BindItems(outputZoneFields_)
      .Name("Output Zone Field")
      .OnFocus(&Self::EnterOutputZoneField)
      .OnSelect(&Self::SelectOutputZoneField);

  // --- The output file ---------------------------------------------------------------
  Add(ControlKind::GroupBox, 1101, "Output File", {6, 159, 408, 66});
  Button(kGetOutputFile, "Get &Output File", {12, 170, 64, 14}).OnClick(&Self::GetOutputFile);
  Edit(kOutputFile, {80, 171, 328, 13})
      .Bind(settings_.outputFileName)
      .Name("Output File")
      .OnFocus(&Self::EnterOutputFile)
      .OnLeave(&Self::LeaveOutputFile);
  Static("To:", {12, 190, 22, 9});
  List(kOutputSystem, {36, 188, 50, 60}, ui::kSorted)
      .Bind(settings_.outputSystem)
      .Items(kSystems)
      .Name("To system")
      .OnFocus(&Self::EnterOutputSystem)
      .OnSelect(&Self::SelectOutputSystem);
  Static("Zone", {94, 190, 20, 9});
  List(kOutputZone, {116, 188, 36, 110}, ui::kSorted)
      .Bind(settings_.outputZone)
      .BindItems(outputZones_)
      .Name("To zone")
      .OnFocus(&Self::EnterOutputZone)
      .OnDropDown(&Self::DropOutputZones)
      .OnSelect(&Self::SelectOutputZone);
  Static("Output Units", {170, 190, 44, 9});
  List(kOutputUnits, {216, 188, 112, 60})
      .Bind(settings_.outputUnits)
      .BindItems(units_)
      .Name("Output Units")
      .OnFocus(&Self::EnterOutputUnits)
      .OnDropDown(&Self::DropUnits)
      .OnSelect(&Self::SelectOutputUnits);
  Static("Latitude && Longitude\rOutput Format", {12, 204, 80, 18});
  List(kOutputFormat, {96, 205, 90, 90})
      .Bind(settings_.outputFormat)
      .Items(Texts(angles::FileInputFormatLabels()))
      .Name("Latitude & Longitude Output Format")
      .OnSelect(&Self::SelectOutputFormat);

  // --- The method, from the transformation settings ----------------------------------
  Add(ControlKind::GroupBox, 1102, "Transformation", {6, 229, 408, 38});
  ReadOnlyEdit(kMethod, {12, 240, 90, 11}).Bind(settings_.methodText).Name("Method");
  ReadOnlyEdit(kParameterDescription, {106, 240, 200, 11})
      .Bind(settings_.parameterDescription)
      .Name("Parameters");
  ReadOnlyEdit(kInputFormatNote, {12, 252, 294, 11}).Bind(inputFormatNote_).Name("Input format");

  // --- Help, progress and the buttons ------------------------------------------------
  Add(ControlKind::MultiLineEdit, kHelp, "", {6, 271, 408, 34}, ui::kReadOnly)
      .Bind(helpText_)
      .Name("Help");
  Add(ControlKind::ProgressBar, kProgress, "", {6, 309, 408, 8}).Name("Progress");
  Static("USE F1 FOR HELP", {6, 325, 80, 9});
  Button(kCalculate, "&Calculate", {298, 321, 56, 14}).OnClick(&Self::Calculate);
  DefaultButton(kReturn, "&Return", {358, 321, 56, 14}).OnClick(&Self::Return);
}

// Opening: the defaults, then tarvofile.dat over them, then what the transformation settings
// say about the method.
void FileConversionDialog::OnShow() {
  settings_ = FileConversionSettings();
  inputFormatNote_.clear();
  helpText_ = kOpeningHelp;
  previewText_ = kOpeningPreview;
  previewedLine_.reset();

  if (!desktop().CurrentDirectory()) {
    desktop().ShowMessage(startDirectory_.string() + " does not Exist/nOption Terminated",
                          "INVALID DIRECTORY", ui::MessageIcon::Error);
  } else {
    std::string refusal;
    LoadFileConversionSettings(startDirectory_, settings_, batch_, &refusal);
    if (!refusal.empty()) desktop().ShowMessage(refusal, "WARNING", ui::MessageIcon::Warning);
    inputFormatNote_ = kInputFormatNotePrefix + transform_.inputFormat;
    TakeMethodSettings(settings_, transform_, grid_);
  }
  // The run reads the file type and echo flag that outlive the dialog. Without tarvofile.dat
  // (or with a short one) they could still hold what an earlier opening picked and then
  // dropped with Escape, while the lists show the defaults: the run would then read the file
  // in a type other than the one shown. They follow what the dialog shows.
  if (const auto type = FindFileType(settings_.fileTypeLabel)) batch_.fileTypeCode = *type;
  batch_.echo = settings_.outputUnits == kBothUnits;

  // The lists that depend on other choices hold what they would offer when opened.
  inputZones_ = engine::ZonesOffered(settings_.inputSystem);
  outputZones_ = engine::ZonesOffered(settings_.outputSystem);
  DropUnits();
  firstFields_.clear();
  secondFields_.clear();
  heightFields_.clear();
  inputZoneFields_.clear();
  outputZoneFields_.clear();
}

// --- The input file ----------------------------------------------------------------------

void FileConversionDialog::EnterFileType() {
  helpText_ =
      "Select the type of file used"
      "\r\nCSV Comma separated variable (Excel Spreadsheet)"
      "\r\nSSV Space separated variable each field separated by at least one space";
}

void FileConversionDialog::SelectFileType() {
  const int index = SelectedIndex(kFileType);
  if (index < 0 || index >= static_cast<int>(std::size(kFileTypes))) return;
  batch_.fileTypeCode = kFileTypes[index];
  settings_.fileTypeLabel = FileTypeLabel(batch_.fileTypeCode);
  // The fields of the line on show are counted again with the new type's separators, so the
  // field lists offer the fields the run will find.
  if (previewedLine_) {
    if (const auto count = CountSeparators(*previewedLine_, batch_.fileTypeCode)) {
      batch_.separatorCount = *count;
    }
  }
}

void FileConversionDialog::GetInputFile() {
  if (const auto chosen = desktop().ChooseFile(kFileFilter, true)) {
    settings_.inputFileName = *chosen;
    Preview();
  }
}

void FileConversionDialog::EnterInputFile() {
  helpText_ =
      "Enter name of file to be converted\r\n"
      "Include file extention\r\nOptional drive and path name";
}

void FileConversionDialog::LeaveInputFile() {
  settings_.inputFileName = ControlText(kInputFile);
  Preview();
}

void FileConversionDialog::EnterHeaderLines() {
  helpText_ = "Enter the number of Header lines in File\r\nUse 0 if no header exists";
}

void FileConversionDialog::LeaveHeaderLines() {
  settings_.headerLineCount = ControlText(kHeaderLines);
  Preview();
}

// --- Input system, zone and units ---------------------------------------------------------

void FileConversionDialog::EnterInputSystem() {
  helpText_ = "Select the Coordinate system of input file\r\nAMG, ISG or GDA";
}

void FileConversionDialog::SelectInputSystem() {
  Take(kInputSystem, settings_.inputSystem);
  settings_.inputZone = engine::ZoneTextForSystem(settings_.inputZone, settings_.inputSystem);
  inputZones_ = engine::ZonesOffered(settings_.inputSystem);
}

void FileConversionDialog::EnterInputZone() {
  helpText_ = "Enter the zone of the input coordinates";
}

void FileConversionDialog::DropInputZones() {
  inputZones_ = engine::ZonesOffered(settings_.inputSystem);
}

void FileConversionDialog::SelectInputZone() {
  Take(kInputZone, settings_.inputZone);
}

void FileConversionDialog::EnterInputUnits() {
  helpText_ =
      "Select the input units used in the file"
      "\r\nEast,North,(Height) - Lat.,Long.,(Height)"
      "\r\nNOTE if Using Latitudes & Longidutes you CAN NOT use DDD MM SS.XXXX format";
}

// Both units lists offer Cartesian X, Y, Z only with the 7-parameter method: the NTv2 grids
// shift latitude and longitude and carry no height.
void FileConversionDialog::DropUnits() {
  units_ = {std::string(kGridUnits), std::string(kGeographicUnits)};
  if (settings_.methodText == kMediumAccuracyText) units_.emplace_back(kCartesianUnits);
}

void FileConversionDialog::SelectInputUnits() {
  std::string units = settings_.inputUnits;
  Take(kInputUnits, units);
  TakeInputUnits(settings_, units, batch_.fileTypeCode);
}

// --- Field lists: filled from the separator count each time one is entered ------------------

std::vector<std::string> FileConversionDialog::FieldNumbers(std::vector<int> taken) const {
  std::vector<std::string> numbers;
  const int fields = std::max(batch_.separatorCount, 0) + 1;
  for (int field = 1; field <= fields; ++field) {
    if (std::find(taken.begin(), taken.end(), field) == taken.end()) {
      numbers.push_back(text::Format("%d", field));
    }
  }
  return numbers;
}

void FileConversionDialog::EnterFirstField() {
  if (IsT27()) {
    firstFields_.clear();
    helpText_ = kNotUsedHelp;
    return;
  }
  firstFields_ = FieldNumbers();
  helpText_ =
      std::string("Select the field number that contains the Easting coordinate") + kFieldHelpTail;
}

void FileConversionDialog::SelectFirstField() {
  Take(kFirstField, settings_.firstFieldNumber);
}

void FileConversionDialog::EnterSecondField() {
  if (IsT27()) {
    secondFields_.clear();
    helpText_ = kNotUsedHelp;
    return;
  }
  secondFields_ = FieldNumbers({text::ToInt(settings_.firstFieldNumber)});
  helpText_ =
      std::string("Select the field number that contains the Northing coordinate") + kFieldHelpTail;
}

void FileConversionDialog::SelectSecondField() {
  Take(kSecondField, settings_.secondFieldNumber);
}

void FileConversionDialog::EnterHeightField() {
  if (IsT27()) {
    heightFields_ = {std::string(kYes), std::string(kNo)};
    helpText_ = "Select Yes if Height field available and to be used.";
  } else {
    heightFields_ = {std::string(kIgnore)};
    for (std::string& number : FieldNumbers(
             {text::ToInt(settings_.firstFieldNumber), text::ToInt(settings_.secondFieldNumber)})) {
      heightFields_.push_back(std::move(number));
    }
    helpText_ =
        "Select the field number that contains the Height coordinate"
        "\r\nThe left most field is 1, Use Ignore if height not required";
  }
  // An NTv2 shift yields no height of its own, so the High Accuracy method reads none.
  if (settings_.gridFlag) heightFields_ = {std::string(kNotUsed)};
}

void FileConversionDialog::SelectHeightField() {
  Take(kHeightField, settings_.heightField);
}

void FileConversionDialog::EnterInputZoneField() {
  if (IsT27()) {
    inputZoneFields_.clear();
    helpText_ = kNotUsedHelp;
    return;
  }
  inputZoneFields_ = {std::string(kNotUsed)};
  for (std::string& number : FieldNumbers()) inputZoneFields_.push_back(std::move(number));
  helpText_ =
      std::string("Select the field number that contains the Input Zone numbers") + kFieldHelpTail;
}

void FileConversionDialog::SelectInputZoneField() {
  Take(kInputZoneField, settings_.inputZoneField);
}

void FileConversionDialog::EnterOutputZoneField() {
  if (IsT27()) {
    outputZoneFields_.clear();
    helpText_ = kNotUsedHelp;
    return;
  }
  outputZoneFields_ = {std::string(kNotUsed)};
  for (std::string& number : FieldNumbers()) outputZoneFields_.push_back(std::move(number));
  helpText_ =
      std::string("Select the field number that contains the Output Zone numbers") + kFieldHelpTail;
}

void FileConversionDialog::SelectOutputZoneField() {
  Take(kOutputZoneField, settings_.outputZoneField);
}

// --- The output file --------------------------------------------------------------------

// The output file may be one that does not exist yet.
void FileConversionDialog::GetOutputFile() {
  if (const auto chosen = desktop().ChooseFile(kFileFilter, false)) {
    settings_.outputFileName = *chosen;
  }
}

void FileConversionDialog::EnterOutputFile() {
  helpText_ =
      "Select the output file to be used"
      "\r\nEnter Filename and extention\r\nOPTIONAL Drive and Path Name";
}

void FileConversionDialog::LeaveOutputFile() {
  settings_.outputFileName = ControlText(kOutputFile);
}

void FileConversionDialog::EnterOutputSystem() {
  helpText_ = "Select the Coordinate system of output file\r\nAMG, ISG or GDA";
}

void FileConversionDialog::SelectOutputSystem() {
  Take(kOutputSystem, settings_.outputSystem);
  settings_.outputZone = engine::ZoneTextForSystem(settings_.outputZone, settings_.outputSystem);
  outputZones_ = engine::ZonesOffered(settings_.outputSystem);
}

void FileConversionDialog::EnterOutputZone() {
  helpText_ = "Enter the zone of the output coordinates";
}

void FileConversionDialog::DropOutputZones() {
  outputZones_ = engine::ZonesOffered(settings_.outputSystem);
}

void FileConversionDialog::SelectOutputZone() {
  Take(kOutputZone, settings_.outputZone);
}

void FileConversionDialog::EnterOutputUnits() {
  helpText_ =
      "Select the input units used in the file"
      "\r\nEast,North,(Height) - Lat.,Long.,(Height)";
}

// The list never offers the units that write grid and geographic values together, so a
// pick from it always turns the echo lines off.
void FileConversionDialog::SelectOutputUnits() {
  Take(kOutputUnits, settings_.outputUnits);
  batch_.echo = settings_.outputUnits == kBothUnits;
}

void FileConversionDialog::SelectOutputFormat() {
  const int index = SelectedIndex(kOutputFormat);
  if (index >= 0 && index < static_cast<int>(std::size(kOutputFormats))) {
    settings_.outputFormat = angles::Label(kOutputFormats[index]);
  } else {
    settings_.outputFormat = "ERROR";
  }
}

// --- The buttons --------------------------------------------------------------------------

void FileConversionDialog::Calculate() {
  JobChoices choices;
  choices.gridMethod = grid_.gridMethod;
  // The grid is read once, before the output file is touched, so a file that cannot be used
  // is refused with nothing written.
  if (RunNeedsGrid(settings_, grid_.gridMethod)) {
    choices.grid = ntv2::OpenGridForInterpolation(interpolator_, grid_.gridFilePath, desktop());
    if (!choices.grid) return;
  }
  if (RunNeedsGda2020Grid(settings_, grid_)) {
    choices.grid2020 = ntv2::OpenGda2020Grid(interpolator_, grid_.gda2020GridPath, desktop());
    if (!choices.grid2020) return;
    choices.grid2020Path = grid_.gda2020GridPath;
  }
  const std::optional<BatchJob> job =
      MakeBatchJob(settings_, batch_, transform_, choices, desktop());
  if (!job) {
    lastRun_ = BatchRunResult{};
    return;
  }
  BatchRunOptions options;
  options.progress = [this](std::uint64_t position, std::uint64_t size) {
    ShowProgress(position, size);
  };
  BatchRunResult result = RunBatchConversion(*job, options, desktop());
  batch_.longestLineLength = result.longestLineLength;
  if (result.previewText) previewText_ = *result.previewText;
  lastRun_ = std::move(result);
}

// The bar's range is the input file's size in bytes, scaled down for files beyond the range
// of the bar's integers. An empty file shows a full bar: a range of 0 to 0 would make the bar
// a busy indicator that never stops.
void FileConversionDialog::ShowProgress(std::uint64_t position, std::uint64_t size) {
  if (size == 0) {
    SetProgress(kProgress, 0, 1, 1);
  } else {
    const std::uint64_t scale = size / static_cast<std::uint64_t>(INT_MAX) + 1;
    SetProgress(kProgress, 0, static_cast<int>(size / scale),
                static_cast<int>(std::min(position, size) / scale));
  }
  KeepPainting();
}

void FileConversionDialog::Return() {
  if (!SaveFileConversionSettings(startDirectory_, settings_)) {
    // The dialog still closes; the user learns that the settings will not be there next time.
    desktop().ShowMessage("Cannot write " + (startDirectory_ / kSettingsFileName).string() +
                              "\nThe file conversion settings were not saved",
                          "WARNING", ui::MessageIcon::Warning);
  }
  Close(ui::kResultOk);
}

// --- Helpers ------------------------------------------------------------------------------

void FileConversionDialog::Take(int id, std::string& setting) {
  if (const auto chosen = SelectedText(id)) setting = *chosen;
}

// The line after the header lines and up to two more, each cut to 255 characters; the
// separators of the first of them set the field count the lists offer (T27 records have
// fixed columns: their count stays as it was).
void FileConversionDialog::Preview() {
  text::OpenedFile opened;
  if (!settings_.inputFileName.empty()) {
    opened = text::OpenRegularFile(settings_.inputFileName, "coordinate file");
  }
  if (!opened.file) {
    previewText_ = "\r\n     ERROR - File (" + settings_.inputFileName + ") does not exist";
    if (!opened.refusal.empty()) previewText_ += "\r\n     " + opened.refusal;
    return;
  }
  text::LineInput input(opened.file.get());
  std::string_view line;
  const int headerLines = text::ToInt(settings_.headerLineCount);
  for (int i = 0; i < headerLines && input.Next(line); ++i) {
  }
  if (!input.Next(line)) line = {};
  if (const auto count = CountSeparators(line, batch_.fileTypeCode)) {
    batch_.separatorCount = *count;
  }
  previewText_ = Cut(line, kPreviewLineLength) + "\r\n";
  previewedLine_ = std::string(line);
  for (int shown = 1; shown < kPreviewLines && input.Next(line); ++shown) {
    previewText_ += Cut(line, kPreviewLineLength) + "\r\n";
  }
  if (input.overlongLine() > 0) {
    previewText_ += "     ERROR - " +
                    text::OverlongLineText(settings_.inputFileName, input.overlongLine()) + "\r\n";
  }
}

}  // namespace tarvo::fileconv
