// The main window between calculations: entries checked and rewritten on leaving a field,
// zones proposed and rewritten, lists rebuilt, help texts, Reset and the map marker.
#include <gtest/gtest.h>

#include "mainwindow/map.h"
#include "tests/mainwindow/main_window_fixture.h"
#include "version.h"

namespace tarvo::mainwindow {
namespace {

class Fields : public MainWindowTest {
 protected:
  void SetUp() override {
    SaveDefaults(engine::AccuracyMethod::Medium);
    Open();
  }
  // The help text drawn last in the help area.
  std::string HelpShown() const {
    const auto& layer = window->display().Layer(kHelpLayer);
    if (layer.empty()) return "(none)";
    return std::get<ui::TextInBox>(layer.back()).text;
  }
};

TEST_F(Fields, GridEntryOfThreeCharactersOrFewerIsDropped) {
  view->Type(MW::kFromEast, "5");
  view->Blur();
  EXPECT_EQ(texts().fromEast, "379185.968");
  EXPECT_EQ(view->Text(MW::kFromEast), "379185.968");
  view->Type(MW::kFromEast, "5000");
  view->Blur();
  EXPECT_EQ(texts().fromEast, "5000");
  view->Type(MW::kFromNorth, "6300000.25");
  view->Blur();
  EXPECT_EQ(texts().fromNorth, "6300000.25");
  EXPECT_EQ(window->session().inputMode, InputMode::ValueFields);
}

TEST_F(Fields, FocusSwitchesWhichPairIsEditable) {
  view->Focus(MW::kFromLatitude);
  EXPECT_FALSE(view->Shown(MW::kFromLatitude).readOnly);
  EXPECT_TRUE(view->Shown(MW::kFromEast).readOnly);
  view->Focus(MW::kFromEast);
  EXPECT_FALSE(view->Shown(MW::kFromEast).readOnly);
  EXPECT_TRUE(view->Shown(MW::kFromLongitude).readOnly);
}

TEST_F(Fields, LongitudeEntryProposesTheZonesOfBothSides) {
  view->Select(MW::kToSystem, "AGD/ISG");
  view->Type(MW::kFromLongitude, "150.0000");
  view->Blur();
  EXPECT_EQ(texts().fromZone, "56 ");
  EXPECT_EQ(texts().toZone, "561");
  EXPECT_EQ(settings.longitude, 150.0);
  EXPECT_EQ(texts().fromLongitude, "150\xB0 00' 00.0000\"");
  EXPECT_EQ(window->session().inputMode, InputMode::Geographic);
}

TEST_F(Fields, AngleFieldShowsTheStoredValueInTheInputNotationWhileEdited) {
  settings.inputFormat = "DDD MM SS.ssss";
  view->Focus(MW::kFromLatitude);
  EXPECT_EQ(view->Text(MW::kFromLatitude), "32 53 30.0000");
  EXPECT_EQ(HelpShown(),
            "Enter the Latitude in DDD MM SS.ssss format\r\nTo change format use\r\nthe "
            "'Change Options' button");
  view->Type(MW::kFromLatitude, "33 52 10.1234");
  view->Blur();
  EXPECT_EQ(settings.latitude, 33.52101234);
  EXPECT_EQ(texts().fromLatitude, "33\xB0 52' 10.1234\"");
}

TEST_F(Fields, OutOfRangeLatitudeIsRefusedAndThePreviousValueStays) {
  view->Focus(MW::kFromLatitude);
  view->Type(MW::kFromLatitude, "50.0001");
  view->Blur();
  ASSERT_EQ(desktop.messages().size(), 1u);
  EXPECT_EQ(desktop.messages()[0].caption, "ERROR");
  EXPECT_EQ(desktop.messages()[0].icon, ui::MessageIcon::Warning);
  EXPECT_EQ(settings.latitude, 32.533);
  EXPECT_EQ(texts().fromLatitude, "32\xB0 53' 30.0000\"");
}

TEST_F(Fields, SixtyMinutesIsRefusedInsteadOfBecomingMinusOneRadian) {
  view->Focus(MW::kFromLongitude);
  view->Type(MW::kFromLongitude, "151.6000");
  view->Blur();
  ASSERT_EQ(desktop.messages().size(), 1u);
  EXPECT_EQ(desktop.messages()[0].caption, "ERROR");
  EXPECT_NE(desktop.messages()[0].text.find("151.6000"), std::string::npos)
      << "the message quotes the text: " << desktop.messages()[0].text;
  EXPECT_EQ(settings.longitude, 151.423);
  EXPECT_EQ(texts().fromLongitude, "151\xB0 42' 30.0000\"");
}

TEST_F(Fields, LongFieldTextIsCutTo49Characters) {
  view->Type(MW::kFromEast, "1234567.125" + std::string(60, '0'));
  view->Blur();
  EXPECT_EQ(texts().fromEast.size(), 49u);
}

TEST_F(Fields, HeightIsRewrittenAndCopiedWhenBothSidesShowTheSameDisplay) {
  view->Type(MW::kFromHeight, "12.3456");
  view->Blur();
  EXPECT_EQ(texts().fromHeight, "12.346");
  EXPECT_EQ(texts().toHeight, "12.346");
}

TEST_F(Fields, SystemChangeRewritesZoneAndLabels) {
  view->Select(MW::kFromZone, "55");
  view->Select(MW::kFromSystem, "AGD/ISG");
  EXPECT_EQ(texts().fromZone, "551");
  EXPECT_EQ(texts().fromGridLabel, "ISG 84");
  EXPECT_EQ(texts().fromDatumLabel, "AGD 84");
  view->Select(MW::kFromZone, "552");
  view->Select(MW::kFromSystem, "GDA/MGA");
  EXPECT_EQ(texts().fromZone, "55 ");
  EXPECT_EQ(texts().fromGridLabel, "MGA 94");
}

TEST_F(Fields, ListsAreRebuiltWhenTheyDropDown) {
  view->Select(MW::kFromZone, "53");
  view->Focus(MW::kToSystem);
  view->dialog().Dispatch(MW::kToSystem, ui::Event::DropDown);
  EXPECT_EQ(view->Shown(MW::kToSystem).items,
            (std::vector<std::string>{"AGD/AMG", "GDA/MGA", "MGA2020"}))
      << "ISG only while the From zone is above 53";
  view->Select(MW::kFromZone, "54");
  EXPECT_TRUE(view->Select(MW::kToSystem, "AGD/ISG"));
  EXPECT_TRUE(view->Select(MW::kToZone, "563"));
  EXPECT_EQ(view->Shown(MW::kToZone).items.size(), 9u);
  EXPECT_EQ(texts().toZone, "563");
}

TEST_F(Fields, HelpTextOfEachControl) {
  struct Case {
    int id;
    std::string help;
  } cases[] = {
      {MW::kFromSystem,
       "Select Zone AMG Australian Map Grid\r\nISG Integrated Survey Grid\r\nMGA Map Grid of "
       "Australia"},
      {MW::kFromZone, "\r\nEnter the AMG Zone number"},
      {MW::kToZone, "\r\nEnter the MGA Zone number"},
      {MW::kFromEast, "\r\nEnter the East coordinate (m)"},
      {MW::kFromNorth, "\r\nEnter the North coordinate (m)"},
      {MW::kFromHeight, "\r\nEnter the Optional Ellipsoidal Height in metres"},
      {MW::kFromLongitude,
       "Enter the Longitude in DDD.MMSSsssss format\r\nTo change format use\r\nthe 'Change "
       "Options' button"},
  };
  for (const Case& c : cases) {
    view->Focus(c.id);
    EXPECT_EQ(HelpShown(), c.help) << "control " << c.id;
  }
  view->Click(MW::kConvertFile);
  EXPECT_EQ(HelpShown(),
            "This option takes an ASCII file in either E,N,H \r\nor Lat,Long format and "
            "converts to a 2nd ASCII file \r\nin the required projection, zone and coordinates");
  // Each help text is drawn over the blank text that erases the previous one.
  const auto& layer = window->display().Layer(kHelpLayer);
  ASSERT_EQ(layer.size(), 2u);
  const auto& blank = std::get<ui::TextInBox>(layer[0]);
  EXPECT_EQ(blank.text.size(), 3 * 109 + 4u);
  EXPECT_EQ(blank.box, (ui::PixelRect{13, 335, 308, 385}));
  EXPECT_EQ(blank.textColor, (ui::Color{255, 10, 10}));
  EXPECT_EQ(blank.background, (ui::Color{200, 200, 200}));
}

TEST_F(Fields, ResetAnsweredNoChangesNothingAndYesRestoresTheDefaults) {
  view->Type(MW::kFromEast, "5000");
  view->Blur();
  view->Click(MW::kCalculate);
  const WindowTexts calculated = texts();
  desktop.QueueAnswer(ui::MessageAnswer::No);
  view->Click(MW::kReset);
  EXPECT_EQ(texts().fromEast, calculated.fromEast);
  EXPECT_EQ(desktop.messages().back().text, "Are you sure ?");
  EXPECT_EQ(desktop.messages().back().caption, "RESET");
  EXPECT_EQ(desktop.messages().back().icon, ui::MessageIcon::Question);

  view->Click(MW::kReset);  // answered Yes
  EXPECT_EQ(texts().fromEast, "379185.968");
  EXPECT_EQ(texts().toLatitude, "32\xB0 53' 24.2646\"");
  EXPECT_EQ(texts().methodLabel, "Medium Accuracy");
  EXPECT_EQ(settings.accuracyMethod, engine::AccuracyMethod::Medium);
  EXPECT_EQ(settings.latitude, 32.533) << "the stored position agrees with the texts";
  EXPECT_EQ(settings.longitude, 151.423);
  EXPECT_TRUE(window->display().Layer(kMarkerLayer).empty()) << "the markers are cleared";
}

TEST_F(Fields, ChangeOptionsAppliesTheChosenMethod) {
  desktop.QueueModal([](ui::testing::FakeView& view) {
    view.Click(params::OptionsDialog::kHighAccuracy);
    view.Click(params::OptionsDialog::kOk);
  });
  view->Click(MW::kChangeOptions);
  EXPECT_EQ(settings.accuracyMethod, engine::AccuracyMethod::High);
  EXPECT_EQ(texts().methodLabel, "High Accuracy - NTv2");
  EXPECT_EQ(window->session().secondsDecimals, 5);
  EXPECT_EQ(texts().fromGridLabel, "AMG 66");
  EXPECT_EQ(window->session().inputMode, InputMode::Geographic);
}

TEST_F(Fields, ButtonsOpenTheirDialogs) {
  view->Click(MW::kConvertFile);
  view->Click(MW::kGeoConvert);
  view->Click(MW::kChangeOptions);
  EXPECT_EQ(
      desktop.modalTitles(),
      (std::vector<std::string>{"File Conversion Option", "Latitude and Longitude Conversions",
                                std::string("Tarvo V") + kVersion + " Transformation Options"}));
}

TEST(MapMarker, DefaultPositionMarksNewcastle) {
  EXPECT_EQ(MapX(151.423), 261);
  EXPECT_EQ(MapY(32.533), 128);
  EXPECT_EQ(MarkerBox(32.533, 151.423), (ui::PixelRect{301, 215, 306, 220}));
  EXPECT_EQ(MapY(16), 0);
  EXPECT_EQ(MapY(40), 188) << "no lift outside 20 to 36 degrees";
}

TEST_F(Fields, EveryCalculationAddsAMarkerThatStays) {
  view->Click(MW::kCalculate);
  view->Click(MW::kCalculate);
  const auto& markers = window->display().Layer(kMarkerLayer);
  ASSERT_EQ(markers.size(), 2u);
  EXPECT_EQ(std::get<ui::Ellipse>(markers[0]).pen, (ui::Pen{{255, 0, 0}, 2}));
}

}  // namespace
}  // namespace tarvo::mainwindow
