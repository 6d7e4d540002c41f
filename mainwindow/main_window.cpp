#include "mainwindow/main_window.h"

#include "mainwindow/about_dialog.h"

namespace tarvo::mainwindow {
namespace {

const std::vector<std::string> kSystems = {"AGD/AMG", "GDA/MGA", "AGD/ISG"};

}  // namespace

MainTransformDialog::MainTransformDialog(ui::Desktop& desktop, engine::TransformSettings& settings,
                                         ntv2::GridChoice& grid,
                                         std::filesystem::path startDirectory)
    : ui::Dialog(desktop),
      settings_(settings),
      grid_(grid),
      fromSystems_(kSystems),
      toSystems_(kSystems) {
  using ui::ControlKind;
  using ui::kReadOnly;
  session_.startDirectory = std::move(startDirectory);
  SetTemplate("Geodetic Transformations V03.42", 395, 282);
  SetHelpTopic("main");

  // Window state: method, parameter set or grid, status.
  ReadOnlyEdit(kMethodLabel, {11, 7, 75, 14}).Bind(texts_.methodLabel).Name("Method");
  ReadOnlyEdit(kParameterSetLabel, {90, 7, 137, 14})
      .Bind(texts_.parameterSetLabel)
      .Name("Parameter set");

  // From side.
  Static("From:", {231, 9, 19, 9});
  Add(ControlKind::DropDownCombo, kFromSystem, "", {251, 7, 50, 49}, ui::kSorted)
      .Bind(texts_.fromSystem)
      .BindItems(fromSystems_)
      .Name("From system");
  Static("Zone", {304, 9, 20, 9});
  Add(ControlKind::DropDownCombo, kFromZone, "", {325, 7, 40, 95}, ui::kSorted)
      .Bind(texts_.fromZone)
      .BindItems(fromZones_)
      .Name("From zone");
  Button(kFromXyz, "X&YZ", {369, 7, 19, 12}).Name("From side X, Y, Z");
  ReadOnlyEdit(kFromLabel1, {245, 22, 44, 11}, ui::kRightAlign).Bind(texts_.fromLabel1);
  ReadOnlyEdit(kFromLabel2, {245, 35, 44, 11}, ui::kRightAlign).Bind(texts_.fromLabel2);
  ReadOnlyEdit(kFromLabel3, {231, 48, 80, 11}, ui::kRightAlign).Bind(texts_.fromLabel3);
  ReadOnlyEdit(kFromGridLabel, {291, 28, 21, 10}).Bind(texts_.fromGridLabel).Name("From grid");
  Edit(kFromEast, {313, 21, 75, 14}).Bind(texts_.fromEast).Name("From East");
  Edit(kFromNorth, {313, 34, 75, 14}).Bind(texts_.fromNorth).Name("From North");
  Edit(kFromHeight, {313, 47, 75, 14}).Bind(texts_.fromHeight).Name("From height");
  Static("Latitude (South)", {232, 62, 60, 9});
  ReadOnlyEdit(kFromDatumLabel, {294, 67, 19, 10}).Bind(texts_.fromDatumLabel).Name("From datum");
  Static("Longitude (East)", {232, 75, 60, 9});
  Edit(kFromLatitude, {313, 60, 75, 14}, kReadOnly)
      .Bind(texts_.fromLatitude)
      .Name("From latitude");
  Edit(kFromLongitude, {313, 73, 75, 14}, kReadOnly)
      .Bind(texts_.fromLongitude)
      .Name("From longitude");
  Static("Convergence", {232, 88, 60, 9});
  ReadOnlyEdit(kFromConvergence, {313, 86, 75, 14})
      .Bind(texts_.fromConvergence)
      .Name("From convergence");
  Static("Pt Scale Factor.", {232, 101, 60, 9});
  ReadOnlyEdit(kFromScaleFactor, {313, 99, 75, 14})
      .Bind(texts_.fromScaleFactor)
      .Name("From point scale factor");

  Button(kCalculate, "&Calculate", {233, 115, 54, 14});
  ReadOnlyEdit(kStatus, {293, 116, 95, 12}).Bind(texts_.statusText).Name("Status");

  // To side.
  Static("To:", {231, 133, 17, 9});
  Add(ControlKind::DropDownCombo, kToSystem, "", {249, 131, 50, 49}, ui::kSorted)
      .Bind(texts_.toSystem)
      .BindItems(toSystems_)
      .Name("To system");
  Static("Zone", {304, 134, 20, 9});
  Add(ControlKind::DropDownCombo, kToZone, "", {325, 132, 40, 96}, ui::kSorted)
      .Bind(texts_.toZone)
      .BindItems(toZones_)
      .Name("To zone");
  Button(kToXyz, "XY&Z", {369, 132, 19, 12}).Name("To side X, Y, Z");
  ReadOnlyEdit(kToLabel1, {257, 146, 32, 11}, ui::kRightAlign).Bind(texts_.toLabel1);
  ReadOnlyEdit(kToLabel2, {257, 160, 32, 11}, ui::kRightAlign).Bind(texts_.toLabel2);
  ReadOnlyEdit(kToLabel3, {249, 174, 40, 11}, ui::kRightAlign).Bind(texts_.toLabel3);
  ReadOnlyEdit(kToGridLabel, {290, 153, 22, 10}).Bind(texts_.toGridLabel).Name("To grid");
  ReadOnlyEdit(kToEast, {313, 145, 75, 14}).Bind(texts_.toEast).Name("To East");
  ReadOnlyEdit(kToNorth, {313, 158, 75, 14}).Bind(texts_.toNorth).Name("To North");
  ReadOnlyEdit(kToHeight, {313, 172, 75, 14}).Bind(texts_.toHeight).Name("To height");
  Static("Latitude (South)", {232, 187, 58, 9});
  ReadOnlyEdit(kToDatumLabel, {290, 193, 22, 10}).Bind(texts_.toDatumLabel).Name("To datum");
  Static("Longitude (East)", {232, 200, 58, 9});
  ReadOnlyEdit(kToLatitude, {313, 185, 75, 14}).Bind(texts_.toLatitude).Name("To latitude");
  ReadOnlyEdit(kToLongitude, {313, 198, 75, 14}).Bind(texts_.toLongitude).Name("To longitude");
  Static("Convergence", {232, 213, 60, 9});
  ReadOnlyEdit(kToConvergence, {313, 211, 75, 14})
      .Bind(texts_.toConvergence)
      .Name("To convergence");
  Static("Pt Scale Factor.", {232, 226, 60, 9});
  ReadOnlyEdit(kToScaleFactor, {313, 224, 75, 14})
      .Bind(texts_.toScaleFactor)
      .Name("To point scale factor");

  // The map, the help area under it and the notice.
  Add(ControlKind::Picture, 149, "", {7, 24, 221, 177}).Name("Map of Australia");
  Add(ControlKind::Picture, 141, "", {208, 207, 22, 26});
  Add(ControlKind::MultiLineEdit, kNotice, "", {6, 244, 200, 30}, kReadOnly)
      .Bind(texts_.noticeText)
      .Name("Notice");
  Button(kMre, "&MRE", {232, 172, 21, 14}, ui::kHidden | ui::kDisabled);

  // Buttons along the bottom.
  Button(kConvertFile, "Convert\r&File", {211, 244, 37, 30});
  Button(kChangeOptions, "Change &Options", {253, 244, 37, 30});
  Button(kGeoConvert, "&Geo-Convert", {295, 244, 45, 14});
  Button(kReset, "&Reset", {347, 244, 41, 14});
  Button(kHelp, "&Help", {296, 260, 37, 14}).OnClick(&Self::ShowHelpWindow);
  DefaultButton(kSaveAndExit, "&Save && Exit", {338, 260, 50, 14}).OnClick(&Self::SaveAndExit);

  AddMenuCommand(kAboutCommand, "&About tarvo...", [this] { ShowAbout(); });

  LoadSettings();
}

void MainTransformDialog::ShowAbout() {
  AboutDialog about(desktop());
  desktop().RunModal(about);
}

void MainTransformDialog::ShowHelpWindow() { desktop().ShowHelp(helpTopic()); }

}  // namespace tarvo::mainwindow
