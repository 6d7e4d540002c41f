#include "mainwindow/main_window.h"

#include "angles/angle_conversion_dialog.h"
#include "angles/angle_reading.h"
#include "angles/angle_writing.h"
#include "angles/dms_text.h"
#include "angles/packed_angle.h"
#include "engine/coordinate_limits.h"
#include "engine/grid_system.h"
#include "fileconv/file_conversion_dialog.h"
#include "mainwindow/about_dialog.h"
#include "mainwindow/artwork.h"
#include "mainwindow/cartesian_display.h"
#include "mainwindow/map.h"
#include "ntv2/grid_file_dialog.h"
#include "ntv2/grid_header.h"
#include "params/options_dialog.h"
#include "params/parameter_sets.h"
#include "text/number_text.h"
#include "version.h"

namespace tarvo::mainwindow {
namespace {

const std::vector<std::string> kSystems = {"AGD/AMG", "GDA/MGA", "AGD/ISG", "MGA2020"};

// The longest text a field hands over.
constexpr size_t kFieldTextLimit = 49;

// The grid and datum labels beside the fields ("AMG 84", "GDA 2020"), as wide as the
// longest of them needs.
constexpr int kSideLabelLeft = 284;
constexpr int kSideLabelWidth = 29;

// The fields of the From and To columns stand 13 dialog units apart; as tall as that, each
// field's frame meets its neighbour's without covering it.
constexpr int kFieldHeight = 13;

// The help area under the map, in client pixels, and its look.
constexpr ui::PixelRect kHelpArea{13, 335, 308, 385};
const ui::Color kHelpTextColor{255, 10, 10};
const ui::Color kHelpBackground{200, 200, 200};
const ui::Font kHelpFont{"Arial", 15, 400};

// Drawn before each help text to erase the previous one: three lines of 109 blanks.
const std::string kBlankHelpText =
    std::string(109, ' ') + "\r\n" + std::string(109, ' ') + "\r\n" + std::string(109, ' ');

const char* const kNoticeText =
    "AGD66, AGD84 and GDA94 on the AMG, MGA and ISG grids.\r\nEvery calculation is logged in "
    "tarvo_rpt.txt.";

}  // namespace

MainTransformDialog::MainTransformDialog(ui::Desktop& desktop, engine::TransformSettings& settings,
                                         ntv2::GridChoice& grid,
                                         std::filesystem::path startDirectory)
    : ui::Dialog(desktop),
      settings_(settings),
      grid_(grid),
      report_(startDirectory),
      fromSystems_(kSystems),
      toSystems_(kSystems) {
  using ui::ControlKind;
  using ui::kCaption;
  using ui::kReadOnly;
  using ui::kRightAlign;
  session_.startDirectory = std::move(startDirectory);
  texts_.noticeText = kNoticeText;
  SetTemplate(text::Format("Geodetic Transformations V%02d.%02d", kVersionMajor, kVersionMinor),
              395, 282);
  SetHelpTopic("main");

  // Method and parameter set or grid.
  ReadOnlyEdit(kMethodLabel, {11, 7, 75, 14}).Bind(texts_.methodLabel).Name("Method");
  ReadOnlyEdit(kParameterSetLabel, {90, 7, 137, 14})
      .Bind(texts_.parameterSetLabel)
      .Name("Parameter set");

  // From side.
  Static("From:", {231, 9, 19, 9});
  Add(ControlKind::DropDownCombo, kFromSystem, "", {251, 7, 50, 49}, ui::kSorted)
      .Bind(texts_.fromSystem)
      .BindItems(fromSystems_)
      .OnFocus(&Self::EnterSystem)
      .OnSelect(&Self::SelectFromSystem)
      .Name("From system");
  Static("Zone", {304, 9, 20, 9});
  Add(ControlKind::DropDownCombo, kFromZone, "", {325, 7, 40, 95}, ui::kSorted)
      .Bind(texts_.fromZone)
      .BindItems(fromZones_)
      .OnFocus(&Self::EnterFromZone)
      .OnDropDown(&Self::DropFromZones)
      .OnSelect(&Self::SelectFromZone)
      .Name("From zone");
  Button(kFromXyz, "X&YZ", {369, 7, 19, 12})
      .OnClick(&Self::SwitchFromDisplay)
      .Name("From side X, Y, Z");
  ReadOnlyEdit(kFromLabel1, {245, 22, 39, 11}, kRightAlign | kCaption).Bind(texts_.fromLabel1);
  ReadOnlyEdit(kFromLabel2, {245, 35, 39, 11}, kRightAlign | kCaption).Bind(texts_.fromLabel2);
  ReadOnlyEdit(kFromLabel3, {231, 48, 80, 11}, kRightAlign | kCaption).Bind(texts_.fromLabel3);
  ReadOnlyEdit(kFromGridLabel, {kSideLabelLeft, 28, kSideLabelWidth, 10}, kCaption)
      .Bind(texts_.fromGridLabel)
      .Name("From grid");
  Edit(kFromEast, {313, 21, 75, kFieldHeight})
      .Bind(texts_.fromEast)
      .OnFocus(&Self::EnterEast)
      .OnLeave(&Self::LeaveEast)
      .Name("From East");
  Edit(kFromNorth, {313, 34, 75, kFieldHeight})
      .Bind(texts_.fromNorth)
      .OnFocus(&Self::EnterNorth)
      .OnLeave(&Self::LeaveNorth)
      .Name("From North");
  Edit(kFromHeight, {313, 47, 75, kFieldHeight})
      .Bind(texts_.fromHeight)
      .OnFocus(&Self::EnterHeight)
      .OnLeave(&Self::LeaveHeight)
      .Name("From height");
  Static("Latitude (South)", {232, 62, 52, 9});
  ReadOnlyEdit(kFromDatumLabel, {kSideLabelLeft, 67, kSideLabelWidth, 10}, kCaption)
      .Bind(texts_.fromDatumLabel)
      .Name("From datum");
  Static("Longitude (East)", {232, 75, 52, 9});
  Edit(kFromLatitude, {313, 60, 75, kFieldHeight}, kReadOnly)
      .Bind(texts_.fromLatitude)
      .OnFocus(&Self::EnterLatitude)
      .OnLeave(&Self::LeaveLatitude)
      .Name("From latitude");
  Edit(kFromLongitude, {313, 73, 75, kFieldHeight}, kReadOnly)
      .Bind(texts_.fromLongitude)
      .OnFocus(&Self::EnterLongitude)
      .OnLeave(&Self::LeaveLongitude)
      .Name("From longitude");
  Static("Convergence", {232, 88, 60, 9});
  ReadOnlyEdit(kFromConvergence, {313, 86, 75, kFieldHeight})
      .Bind(texts_.fromConvergence)
      .Name("From convergence");
  Static("Pt Scale Factor.", {232, 101, 60, 9});
  ReadOnlyEdit(kFromScaleFactor, {313, 99, 75, kFieldHeight})
      .Bind(texts_.fromScaleFactor)
      .Name("From point scale factor");

  Button(kCalculate, "&Calculate", {233, 115, 54, 14}).OnClick(&Self::CalculateClicked);
  ReadOnlyEdit(kStatus, {293, 116, 95, 12}).Bind(texts_.statusText).Name("Status");

  // To side.
  Static("To:", {231, 133, 17, 9});
  Add(ControlKind::DropDownCombo, kToSystem, "", {249, 131, 50, 49}, ui::kSorted)
      .Bind(texts_.toSystem)
      .BindItems(toSystems_)
      .OnFocus(&Self::EnterSystem)
      .OnDropDown(&Self::DropToSystems)
      .OnSelect(&Self::SelectToSystem)
      .Name("To system");
  Static("Zone", {304, 134, 20, 9});
  Add(ControlKind::DropDownCombo, kToZone, "", {325, 132, 40, 96}, ui::kSorted)
      .Bind(texts_.toZone)
      .BindItems(toZones_)
      .OnFocus(&Self::EnterToZone)
      .OnDropDown(&Self::DropToZones)
      .OnSelect(&Self::SelectToZone)
      .Name("To zone");
  Button(kToXyz, "XY&Z", {369, 132, 19, 12})
      .OnClick(&Self::SwitchToDisplay)
      .Name("To side X, Y, Z");
  ReadOnlyEdit(kToLabel1, {257, 146, 27, 11}, kRightAlign | kCaption).Bind(texts_.toLabel1);
  ReadOnlyEdit(kToLabel2, {257, 160, 27, 11}, kRightAlign | kCaption).Bind(texts_.toLabel2);
  ReadOnlyEdit(kToLabel3, {249, 174, 40, 11}, kRightAlign | kCaption).Bind(texts_.toLabel3);
  ReadOnlyEdit(kToGridLabel, {kSideLabelLeft, 153, kSideLabelWidth, 10}, kCaption).Bind(texts_.toGridLabel).Name("To grid");
  ReadOnlyEdit(kToEast, {313, 145, 75, kFieldHeight}).Bind(texts_.toEast).Name("To East");
  ReadOnlyEdit(kToNorth, {313, 158, 75, kFieldHeight}).Bind(texts_.toNorth).Name("To North");
  ReadOnlyEdit(kToHeight, {313, 172, 75, kFieldHeight}).Bind(texts_.toHeight).Name("To height");
  Static("Latitude (South)", {232, 187, 52, 9});
  ReadOnlyEdit(kToDatumLabel, {kSideLabelLeft, 193, kSideLabelWidth, 10}, kCaption)
      .Bind(texts_.toDatumLabel)
      .Name("To datum");
  Static("Longitude (East)", {232, 200, 52, 9});
  ReadOnlyEdit(kToLatitude, {313, 185, 75, kFieldHeight})
      .Bind(texts_.toLatitude)
      .Name("To latitude");
  ReadOnlyEdit(kToLongitude, {313, 198, 75, kFieldHeight})
      .Bind(texts_.toLongitude)
      .Name("To longitude");
  Static("Convergence", {232, 213, 60, 9});
  ReadOnlyEdit(kToConvergence, {313, 211, 75, kFieldHeight})
      .Bind(texts_.toConvergence)
      .Name("To convergence");
  Static("Pt Scale Factor.", {232, 226, 60, 9});
  ReadOnlyEdit(kToScaleFactor, {313, 224, 75, kFieldHeight})
      .Bind(texts_.toScaleFactor)
      .Name("To point scale factor");

  // The map with the help area under it, and the notice.
  Add(ControlKind::Picture, 149, "", {7, 24, 221, 177}).Name("Map of Australia");
  Add(ControlKind::Picture, 141, "", {208, 207, 22, 26});
  Add(ControlKind::MultiLineEdit, kNotice, "", {6, 244, 200, 30}, kReadOnly)
      .Bind(texts_.noticeText)
      .Name("Notice");
  Button(kMre, "&MRE", {232, 172, 21, 14}, ui::kHidden | ui::kDisabled);

  // Buttons along the bottom.
  Button(kConvertFile, "Convert\r&File", {211, 244, 37, 30}).OnClick(&Self::ConvertFile);
  Button(kChangeOptions, "Change &Options", {253, 244, 37, 30}).OnClick(&Self::ChangeOptions);
  Button(kGeoConvert, "&Geo-Convert", {295, 244, 45, 14}).OnClick(&Self::GeoConvert);
  Button(kReset, "&Reset", {347, 244, 41, 14}).OnClick(&Self::Reset);
  Button(kHelp, "&Help", {296, 260, 37, 14}).OnClick(&Self::ShowHelpWindow);
  DefaultButton(kSaveAndExit, "&Save && Exit", {338, 260, 50, 14}).OnClick(&Self::SaveAndExit);

  AddMenuCommand(kAboutCommand, "&About tarvo...", [this] { ShowAbout(); });

  DrawMap(drawing());
  DrawEmblem(drawing(), kMapLayer, {313, 337, 344, 378});
  LoadSettings();
}

// --- Systems and zones --------------------------------------------------------------------

void MainTransformDialog::SelectFromSystem() {
  if (const auto chosen = SelectedText(kFromSystem)) texts_.fromSystem = *chosen;
  SystemChanged(texts_.fromSystem, texts_.fromZone, texts_.fromGridLabel, texts_.fromDatumLabel);
}

void MainTransformDialog::SelectToSystem() {
  if (const auto chosen = SelectedText(kToSystem)) texts_.toSystem = *chosen;
  SystemChanged(texts_.toSystem, texts_.toZone, texts_.toGridLabel, texts_.toDatumLabel);
}

void MainTransformDialog::SystemChanged(const std::string& system, std::string& zone,
                                        std::string& gridLabel, std::string& datumLabel) {
  std::tie(gridLabel, datumLabel) = SideLabels(system);
  zone = engine::ZoneTextForSystem(zone, system);
}

void MainTransformDialog::DropFromZones() {
  fromZones_ = engine::ZonesOffered(texts_.fromSystem);
}

// The To side offers ISG only while the From zone lies where ISG zones exist (54 to 56).
void MainTransformDialog::DropToSystems() {
  toSystems_ = {std::string(engine::GridSystem::kAmg), std::string(engine::GridSystem::kMga)};
  if (text::ToInt(texts_.fromZone) > 53) toSystems_.emplace_back(engine::GridSystem::kIsg);
  toSystems_.emplace_back(engine::GridSystem::kMga2020);
}

void MainTransformDialog::DropToZones() {
  toZones_ = engine::ZonesOffered(texts_.toSystem);
}

void MainTransformDialog::SelectFromZone() {
  if (const auto chosen = SelectedText(kFromZone)) texts_.fromZone = *chosen;
}

void MainTransformDialog::SelectToZone() {
  if (const auto chosen = SelectedText(kToZone)) texts_.toZone = *chosen;
}

// --- Help texts when a field gets the focus -----------------------------------------------

void MainTransformDialog::EnterSystem() {
  ShowHelpText(
      "Select Zone AMG Australian Map Grid\r\nISG Integrated Survey Grid\r\nMGA Map Grid of "
      "Australia");
}

namespace {

std::string ZoneHelp(const std::string& system) {
  if (system == engine::GridSystem::kIsg) return "\r\nEnter the ISG Zone number";
  if (system == engine::GridSystem::kMga || system == engine::GridSystem::kMga2020) {
    return "\r\nEnter the MGA Zone number";
  }
  return "\r\nEnter the AMG Zone number";
}

}  // namespace

void MainTransformDialog::EnterFromZone() {
  ShowHelpText(ZoneHelp(texts_.fromSystem));
}

void MainTransformDialog::EnterToZone() {
  ShowHelpText(ZoneHelp(texts_.toSystem));
}

MainTransformDialog::MetresField MainTransformDialog::MetresFieldOf(int id) const {
  const bool cartesian = session_.fromDisplay == DisplayMode::Cartesian;
  switch (id) {
    case kFromEast:
      return cartesian ? MetresField{"X", "Enter the X value in metres"}
                       : MetresField{"East", "Enter the East coordinate (m)"};
    case kFromNorth:
      return cartesian ? MetresField{"Y", "Enter the Y value in metres"}
                       : MetresField{"North", "Enter the North coordinate (m)"};
    default:
      return cartesian ? MetresField{"Z", "Enter the Z value in metres"}
                       : MetresField{"Height", "Enter the Optional Ellipsoidal Height in metres"};
  }
}

std::string MainTransformDialog::AngleEntryHelp(const char* what) const {
  return std::string("Enter the ") + what + " in " + settings_.inputFormat + " format";
}

void MainTransformDialog::EnterEast() {
  MakeGridPairEditable(true);
  ShowHelpText(std::string("\r\n") + MetresFieldOf(kFromEast).help);
}

void MainTransformDialog::EnterNorth() {
  MakeGridPairEditable(true);
  ShowHelpText(std::string("\r\n") + MetresFieldOf(kFromNorth).help);
}

void MainTransformDialog::EnterHeight() {
  ShowHelpText(std::string("\r\n") + MetresFieldOf(kFromHeight).help);
}

void MainTransformDialog::EnterLatitude() {
  EnterAngleField(kFromLatitude, texts_.fromLatitude, settings_.latitude, "Latitude");
}

void MainTransformDialog::EnterLongitude() {
  EnterAngleField(kFromLongitude, texts_.fromLongitude, settings_.longitude, "Longitude");
}

// A latitude or longitude field shows the stored value in the input notation while it is
// edited, so what the user sees there is what will be read back.
void MainTransformDialog::EnterAngleField(int /*id*/, std::string& field, double packed,
                                          const char* what) {
  MakeGridPairEditable(false);
  ShowHelpText(AngleEntryHelp(what) + "\r\nTo change format use\r\nthe 'Change Options' button");
  if (const auto editText =
          angles::PackedToEditText(packed, session_.secondsDecimals + 4, settings_.inputFormat,
                                   desktop(), angles::TextTarget::Window)) {
    field = *editText;
  }
}

// --- Entries when a field loses the focus -------------------------------------------------

std::string MainTransformDialog::FetchedText(int id) const {
  std::string text = ControlText(id);
  if (text.size() > kFieldTextLimit) text.resize(kFieldTextLimit);
  return text;
}

void MainTransformDialog::LeaveEast() {
  LeaveGridField(kFromEast, texts_.fromEast);
}

void MainTransformDialog::LeaveNorth() {
  LeaveGridField(kFromNorth, texts_.fromNorth);
}

std::optional<double> MainTransformDialog::CheckedMetres(int id, const std::string& typed) {
  const MetresField field = MetresFieldOf(id);
  const std::optional<double> number = text::LeadingNumber(typed);
  if (!number) {
    RefuseEntry(field.name, typed, field.help, true);
    return std::nullopt;
  }
  if (!engine::IsCoordinate(*number)) {
    RefuseEntry(field.name, typed, std::string(field.help) + " between -1e9 and 1e9", false);
    return std::nullopt;
  }
  return number;
}

void MainTransformDialog::RefuseEntry(const std::string& name, const std::string& typed,
                                      const std::string& expected, bool noNumber) {
  if (noNumber) desktop().Beep();
  desktop().ShowMessage(
      "Invalid " + name + ": " + typed + "\n" + expected + "\nReplacing with previous value",
      "ERROR", ui::MessageIcon::Warning);
}

// A typed grid value replaces the field unless it is 3 characters or fewer (a stray key) or
// no coordinate, and typing into the grid pair makes grid coordinates the next input.
void MainTransformDialog::LeaveGridField(int id, std::string& field) {
  if (ControlModified(id)) {
    const std::string typed = FetchedText(id);
    if (typed.size() > 3 && CheckedMetres(id, typed)) field = typed;
  }
  if (session_.inputMode == InputMode::Geographic) {
    session_.inputMode = InputMode::ValueFields;
    MakeGridPairEditable(false);
  }
}

// The height is optional: an empty entry is 0.
void MainTransformDialog::LeaveHeight() {
  const std::string typed = FetchedText(kFromHeight);
  double height = text::ToDouble(typed);
  if (ControlModified(kFromHeight) && typed.find_first_not_of(' ') != std::string::npos) {
    const std::optional<double> checked = CheckedMetres(kFromHeight, typed);
    if (!checked) return;
    height = *checked;
  }
  texts_.fromHeight = text::Format("%.3f", height);
  if (session_.fromDisplay == session_.toDisplay) texts_.toHeight = texts_.fromHeight;
}

void MainTransformDialog::LeaveLatitude() {
  LeaveAngleField(kFromLatitude, texts_.fromLatitude, settings_.latitude, true);
}

void MainTransformDialog::LeaveLongitude() {
  LeaveAngleField(kFromLongitude, texts_.fromLongitude, settings_.longitude, false);
}

// A typed latitude or longitude is cleaned and range-checked, read in the input notation,
// stored as the From position and shown again with symbols; a longitude also proposes the
// zones of both sides. A text that holds no number is refused like one out of range.
void MainTransformDialog::LeaveAngleField(int id, std::string& field, double& packed,
                                          bool latitude) {
  const std::string fetched = FetchedText(id);
  std::string typed = fetched;
  const char* what = latitude ? "Latitude" : "Longitude";
  const auto kind = latitude ? angles::AngleKind::Latitude : angles::AngleKind::Longitude;
  switch (angles::CheckAngleText(typed, kind, settings_.inputFormat, desktop())) {
    case angles::AngleCheck::InRange:
      break;
    case angles::AngleCheck::Unreadable:
      RefuseEntry(what, fetched, AngleEntryHelp(what), true);
      typed = field;
      break;
    case angles::AngleCheck::OutOfRange:
      typed = field;
      break;
  }
  const double read =
      angles::ReadAngleText(typed, settings_.inputFormat, session_.secondsDecimals, desktop());
  if (read == angles::kInvalidAngle) {
    // An unknown notation (already reported): the stored value stays.
  } else if (angles::PackedToRadians(read) == angles::kInvalidAngle) {
    // A minutes or seconds field of 60 or more is no angle; refused like a value out of range
    // rather than flowing into the next calculation as -1 radians.
    desktop().ShowMessage(std::string("Invalid ") + what + ": " + typed +
                              "\nMinutes and seconds must be below 60" +
                              "\nReplacing with previous value",
                          "ERROR", ui::MessageIcon::Warning);
  } else {
    packed = read;
  }
  field = angles::FormatPackedDms(packed, session_.secondsDecimals);
  if (!latitude) {
    texts_.fromZone =
        engine::ZoneText(engine::ZoneFromLongitude(packed, texts_.fromSystem), texts_.fromSystem);
    texts_.toZone =
        engine::ZoneText(engine::ZoneFromLongitude(packed, texts_.toSystem), texts_.toSystem);
  }
  if (session_.inputMode == InputMode::ValueFields) {
    session_.inputMode = InputMode::Geographic;
    MakeGridPairEditable(true);
  }
}

void MainTransformDialog::MakeGridPairEditable(bool gridEditable) {
  SetReadOnly(kFromEast, !gridEditable);
  SetReadOnly(kFromNorth, !gridEditable);
  SetReadOnly(kFromLatitude, gridEditable);
  SetReadOnly(kFromLongitude, gridEditable);
}

// --- Buttons --------------------------------------------------------------------------------

CalculationContext MainTransformDialog::Context() {
  return {texts_, session_, settings_, estimates_, grid_, interpolator_, desktop()};
}

void MainTransformDialog::AppendToReport(const std::string& record) {
  if (report_.Append(record) || reportWarned_) return;
  reportWarned_ = true;
  desktop().ShowMessage("The report could not be written to\n" + report_.path().string() +
                            "\nCalculations go on without it",
                        "WARNING", ui::MessageIcon::Warning);
}

void MainTransformDialog::CalculateClicked() {
  if (NeedsGridFile() && !ChooseGridFile()) return;
  auto context = Context();
  const CalculationResult result = Calculate(context);
  if (result.geographicInput) MakeGridPairEditable(false);
  if (!result.finished) return;
  DrawMarker(drawing(), settings_.latitude, settings_.longitude);
  Repaint();
  AppendToReport(
      SinglePointRecord(result.reportVersion, texts_, desktop().LocalTime(), result.stepsLabel));
}

void MainTransformDialog::SwitchFromDisplay() {
  auto context = Context();
  Side from = FromSide(texts_, session_);
  if (const auto record = SwitchDisplay(context, from, settings_.latitude, settings_.longitude)) {
    AppendToReport(*record);
  }
}

void MainTransformDialog::SwitchToDisplay() {
  // A To side emptied by a refused calculation holds no point to show as X, Y, Z.
  if (session_.savedToLatitude.empty()) {
    desktop().Beep();
    return;
  }
  auto context = Context();
  Side to = ToSide(texts_, session_);
  if (const auto record =
          SwitchDisplay(context, to, angles::DisplayTextToPacked(session_.savedToLatitude),
                        angles::DisplayTextToPacked(session_.savedToLongitude))) {
    AppendToReport(*record);
  }
}

void MainTransformDialog::ConvertFile() {
  const std::string help =
      "This option takes an ASCII file in either E,N,H \r\nor Lat,Long format and converts to "
      "a 2nd ASCII file \r\nin the required projection, zone and coordinates";
  ShowHelpText(help);
  fileconv::FileConversionDialog conversion(desktop(), settings_, grid_, interpolator_,
                                            batchValues_, session_.startDirectory);
  desktop().RunModal(conversion);
  ShowHelpText(help);
}

void MainTransformDialog::ChangeOptions() {
  ShowHelpText("");
  params::OptionsDialog options(desktop(), settings_, grid_, session_.startDirectory);
  desktop().RunModal(options);
  if (const auto label = params::ParameterSetLabel(settings_.parameterSet)) {
    texts_.parameterSetLabel = *label;
  }
  if (session_.inputMode == InputMode::ValueFields) {
    session_.inputMode = InputMode::Geographic;
    MakeGridPairEditable(true);
  }
  settings_.accuracyMethod = options.methodLastChosen();
  LabelsFollowSettings();
  // The outlines show the grid in use: they go when the method no longer uses one.
  if (settings_.accuracyMethod == engine::AccuracyMethod::High) {
    ShowSubGridOutlines();
  } else {
    drawing().Clear(kOutlineLayer);
    Repaint();
  }
}

void MainTransformDialog::LabelsFollowSettings() {
  std::tie(texts_.fromGridLabel, texts_.fromDatumLabel) = SideLabels(texts_.fromSystem);
  std::tie(texts_.toGridLabel, texts_.toDatumLabel) = SideLabels(texts_.toSystem);
  ApplyMethodLabels(true, "ERROR", "");
}

// High Accuracy between AGD and GDA94 (or GDA2020) shifts by the grid file; without one
// chosen the shift could only fail on opening it.
bool MainTransformDialog::NeedsGridFile() const {
  return settings_.accuracyMethod == engine::AccuracyMethod::High &&
         grid_.gridMethod != ntv2::GridMethod::NswMrePrograms && grid_.gridFilePath.empty() &&
         engine::IsAgdSystem(texts_.fromSystem) != engine::IsAgdSystem(texts_.toSystem);
}

// The grid file dialog, as Change Options opens it for High Accuracy; true when a grid file
// was chosen, and the labels then name it.
bool MainTransformDialog::ChooseGridFile() {
  ntv2::GridFileDialog gridFile(desktop(), grid_, session_.startDirectory);
  desktop().RunModal(gridFile);
  if (grid_.gridFilePath.empty()) return false;
  LabelsFollowSettings();
  return true;
}

// The sub-grids of the grid file in use, counted in a message and outlined on the map.
void MainTransformDialog::ShowSubGridOutlines() {
  const ntv2::SubGridExtents extents = ntv2::ReadSubGridExtents(grid_.gridFilePath, desktop());
  desktop().ShowMessage(text::Format("%d", extents.count), "Number of Sub Grids",
                        ui::MessageIcon::Information);
  DrawSubGridOutlines(drawing(), extents.subGrids);
  Repaint();
}

void MainTransformDialog::GeoConvert() {
  angles::AngleConversionDialog conversions(desktop(), texts_.fromLatitude, texts_.fromLongitude,
                                            session_.savedToLatitude, session_.savedToLongitude,
                                            texts_.fromGridLabel + " Zone " + texts_.fromZone,
                                            texts_.toGridLabel + " Zone " + texts_.toZone);
  desktop().RunModal(conversions);
}

void MainTransformDialog::Reset() {
  if (desktop().ShowMessage("Are you sure ?", "RESET", ui::MessageIcon::Question,
                            ui::MessageButtons::YesNo) != ui::MessageAnswer::Yes) {
    return;
  }
  const WindowTexts defaults;
  const std::string notice = texts_.noticeText;
  const std::string status = texts_.statusText;
  texts_ = defaults;
  texts_.noticeText = notice;
  texts_.statusText = status;
  texts_.toLatitude =
      "32\xB0"
      " 53' 24.2646\"";
  settings_.accuracyMethod = engine::AccuracyMethod::Medium;
  session_.secondsDecimals = 4;
  session_.fromDisplay = DisplayMode::Grid;
  session_.toDisplay = DisplayMode::Grid;
  // The stored position goes back with the texts, so the next calculation agrees with them;
  // the markers of the session go too, and the outlines with the High Accuracy method.
  settings_.latitude = engine::TransformSettings{}.latitude;
  settings_.longitude = engine::TransformSettings{}.longitude;
  session_.savedToLatitude = texts_.toLatitude;
  session_.savedToLongitude = texts_.toLongitude;
  drawing().Clear(kMarkerLayer);
  drawing().Clear(kOutlineLayer);
  Repaint();
}

void MainTransformDialog::ShowAbout() {
  AboutDialog about(desktop());
  desktop().RunModal(about);
}

void MainTransformDialog::ShowHelpWindow() {
  desktop().ShowHelp(helpTopic());
}

void MainTransformDialog::ShowHelpText(const std::string& text) {
  drawing().Clear(kHelpLayer);
  for (const std::string* shown : {&kBlankHelpText, &text}) {
    drawing().Add(kHelpLayer, ui::TextInBox{kHelpArea, *shown, kHelpTextColor, kHelpBackground,
                                            kHelpFont, ui::TextAlign::Center});
  }
  Repaint();
}

}  // namespace tarvo::mainwindow
