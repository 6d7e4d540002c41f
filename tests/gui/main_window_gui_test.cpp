// The main window through real widgets: it opens with every control in place and its saved
// texts, Alt+S saves and ends, and screenshots are left for a person to look at.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <fstream>

#include "angles/angle_format.h"
#include "engine/transform_settings.h"
#include "mainwindow/main_window.h"
#include "mainwindow/map.h"
#include "mainwindow/saved_settings.h"
#include "ntv2/grid_choice.h"
#include "ntv2/grid_file_dialog.h"
#include "params/options_dialog.h"
#include "tests/gui/gui_support.h"
#include "tests/support/support.h"
#include "tests/support/synthetic_grid.h"
#include "ui/qt/dialog_window.h"
#include "ui/qt/qt_desktop.h"
#include "ui/qt/text_fit.h"

namespace tarvo::mainwindow {
namespace {

using MW = MainTransformDialog;

class MainWindowGui : public ::testing::Test {
 protected:
  MainWindowGui() {
    // A saved state of the Medium Accuracy method, so no options dialog comes first.
    engine::TransformSettings saved;
    saved.accuracyMethod = engine::AccuracyMethod::Medium;
    testing::WriteFile(folder / "tarvo_prm.dat",
                       FormatSavedSettings(WindowTexts{}, saved, ntv2::GridChoice{}));
  }
  void Open() {
    dialog = std::make_unique<MW>(desktop, settings, grid, folder.path());
    window = std::make_unique<ui::qt::DialogWindow>(*dialog, desktop, nullptr);
    ASSERT_TRUE(tarvo::testing::ShowActive(*dialog, *window));
  }
  template <class W>
  W* Widget(int id) {
    return tarvo::testing::ControlAs<W>(*window, id);
  }

  testing::TempDir folder;
  ui::qt::QtDesktop desktop;
  engine::TransformSettings settings;
  ntv2::GridChoice grid;
  std::unique_ptr<MW> dialog;
  std::unique_ptr<ui::qt::DialogWindow> window;
};

TEST_F(MainWindowGui, OpensWithItsSavedTextsAndTheDegreeSign) {
  Open();
  EXPECT_EQ(Widget<QLineEdit>(MW::kFromEast)->text(), "379185.968");
  EXPECT_EQ(Widget<QLineEdit>(MW::kToLatitude)->text(), QString::fromUtf8("-32° 53' 24.2646\""));
  EXPECT_EQ(Widget<QLineEdit>(MW::kMethodLabel)->text(), "Medium Accuracy");
  EXPECT_FALSE(Widget<QPushButton>(MW::kMre)->isVisible()) << "the MRE button is hidden";
  EXPECT_EQ(window->width(), 593);
  EXPECT_EQ(window->height(), 458);
  testing::SaveScreenshot(window.get(), "main_window");
}

TEST_F(MainWindowGui, AltSSavesAndEnds) {
  Open();
  QTest::keyClick(window.get(), Qt::Key_S, Qt::AltModifier);
  QTest::qWait(300);
  EXPECT_TRUE(dialog->closed());
  const std::string saved = testing::ReadFile(folder / "tarvo_prm.dat");
  EXPECT_EQ(saved.substr(0, 32), "AGD/AMG\n379185.968\n0.000\n6359970")
      << "the window's state was written back";
}

TEST_F(MainWindowGui, TypingALongitudeAndTabbingOutRewritesItAndProposesZones) {
  Open();
  auto* longitude = Widget<QLineEdit>(MW::kFromLongitude);
  longitude->setFocus(Qt::TabFocusReason);
  EXPECT_EQ(longitude->text(), "151.42300000") << "the stored value in the input notation";
  EXPECT_FALSE(longitude->isReadOnly());
  longitude->selectAll();
  QTest::keyClicks(longitude, "149.5959");
  QTest::keyClick(longitude, Qt::Key_Tab);
  EXPECT_EQ(longitude->text(), QString::fromUtf8("149° 59' 59.0000\""));
  EXPECT_EQ(dialog->texts().fromZone, "55 ");
  EXPECT_EQ(qobject_cast<QComboBox*>(window->ControlWidget(MW::kFromZone))->currentText(), "55 ");
}

TEST_F(MainWindowGui, AltCCalculatesAndFillsTheToSideAndTheReport) {
  Open();
  auto* latitude = Widget<QLineEdit>(MW::kFromLatitude);
  latitude->setFocus(Qt::TabFocusReason);
  latitude->selectAll();
  QTest::keyClicks(latitude, "32.5324");
  QTest::keyClick(window.get(), Qt::Key_C, Qt::AltModifier);
  QTest::qWait(300);  // a mnemonic animates the click
  EXPECT_EQ(settings.latitude, 32.5324)
      << "the typed latitude was read before the calculation (a mnemonic leaves the field)";
  EXPECT_EQ(Widget<QLineEdit>(MW::kToNorth)->text(),
            QString::fromStdString(dialog->texts().toNorth));
  EXPECT_NE(dialog->texts().toNorth, "6360161.142");
  EXPECT_TRUE(std::filesystem::exists(folder / "tarvo_rpt.txt"));
  // A help text under the map and the point's marker: the screenshot shows both.
  Widget<QLineEdit>(MW::kFromEast)->setFocus(Qt::TabFocusReason);
  QApplication::processEvents();
  testing::SaveScreenshot(window.get(), "main_window_calculated");
}

// A right-click opens the window menu: Help, then after a separator About tarvo, which
// opens the about box.
TEST_F(MainWindowGui, RightClickMenuHoldsHelpAndAbout) {
  Open();
  QStringList entries;
  QString opened;
  QTimer::singleShot(100, [&] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    for (const QAction* action : menu->actions()) {
      entries << (action->isSeparator() ? QStringLiteral("-") : action->text());
    }
    testing::WhenModal<ui::qt::DialogWindow>([&](ui::qt::DialogWindow* about) {
      opened = about->windowTitle();
      QTest::keyClick(about, Qt::Key_Escape);
    });
    QTest::keyClick(menu, Qt::Key_A);
  });
  QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(300, 440),
                          window->mapToGlobal(QPoint(300, 440)));
  QApplication::sendEvent(window.get(), &click);
  EXPECT_EQ(entries, (QStringList{"&Help\tF1", "-", "&About tarvo..."}));
  EXPECT_EQ(opened, "About tarvo");
}

// Every help text the window draws lies inside the help area: the field helps (with each
// input notation named in the latitude and longitude helps, and under X, Y, Z captions) and
// the file conversion's. Runs at 1x and 2x.
TEST_F(MainWindowGui, LayoutKeepsEveryHelpTextInTheHelpArea) {
  Open();
  const auto expectInside = [&](const std::string& when) {
    const auto& help = dialog->display().Layer(kHelpLayer);
    ASSERT_FALSE(help.empty()) << when;
    const auto& shown = std::get<ui::TextInBox>(help.back());
    const auto pixels = testing::PaintedPixels(dialog->display(), kHelpLayer, shown.box, *window);
    EXPECT_EQ(pixels.outside, 0) << when << ": \"" << shown.text << "\" leaves the help area";
  };
  for (const std::string_view format : angles::OptionsInputFormatLabels()) {
    settings.inputFormat = format;
    for (const auto& control : dialog->Controls()) {
      if (!dialog->HasHandler(control.id, ui::Event::FocusEnter)) continue;
      dialog->Dispatch(control.id, ui::Event::FocusEnter);
      expectInside("focus in " + std::to_string(control.id) + ", " + std::string(format));
    }
  }
  QTest::mouseClick(Widget<QPushButton>(MW::kFromXyz), Qt::LeftButton);
  for (const int id : {MW::kFromEast, MW::kFromNorth, MW::kFromHeight}) {
    dialog->Dispatch(id, ui::Event::FocusEnter);
    expectInside("X, Y, Z shown, focus in " + std::to_string(id));
  }
  testing::WhenModal<ui::qt::DialogWindow>(
      [](ui::qt::DialogWindow* conversion) { QTest::keyClick(conversion, Qt::Key_Escape); });
  QTest::mouseClick(Widget<QPushButton>(MW::kConvertFile), Qt::LeftButton);
  expectInside("after Convert File");
  testing::SaveScreenshot(window.get(), testing::ScreenshotName("main_window_help", *window));
}

// A sub-grid reaching beyond the map to the north and west, as a national grid does (its
// west limit drawn at 108 degrees, left of the map), is outlined on the map only; so is one
// inside it. Runs at 1x and 2x.
TEST_F(MainWindowGui, LayoutKeepsTheOutlinesOnTheMap) {
  using ntv2::testing::ExactField;
  const auto gridPath = folder / "national66.gsb";
  testing::WriteFile(
      gridPath,
      ntv2::testing::GridBytes(
          {{{"WIDE", "NONE", -162000, -32400, -558000, -360000, 3600, 3600, ExactField{}.Nodes()},
            {"NSW_0701", "WIDE", -126000, -111600, -554400, -536400, 1800, 1800,
             ExactField{}.Nodes()}}},
          ntv2::kAustralianLayout));
  engine::TransformSettings saved;
  saved.accuracyMethod = engine::AccuracyMethod::High;
  testing::WriteFile(folder / "tarvo_prm.dat",
                     FormatSavedSettings(WindowTexts{}, saved,
                                         {ntv2::GridMethod::GridFileAgd66, gridPath.string()}));
  Open();
  // Change Options, OK (High Accuracy is chosen), OK in the grid file dialog, OK to the count.
  testing::WhenModal<ui::qt::DialogWindow>([](ui::qt::DialogWindow* options) {
    testing::WhenModal<ui::qt::DialogWindow>([](ui::qt::DialogWindow* gridFile) {
      testing::WhenModal<QMessageBox>([](QMessageBox* count) { count->accept(); });
      QTest::mouseClick(gridFile->ControlWidget(ntv2::GridFileDialog::kOk), Qt::LeftButton);
    });
    QTest::mouseClick(options->ControlWidget(params::OptionsDialog::kOk), Qt::LeftButton);
  });
  QTest::mouseClick(Widget<QPushButton>(MW::kChangeOptions), Qt::LeftButton);
  ASSERT_EQ(dialog->display().Layer(kOutlineLayer).size(), 3u)
      << "the south and east sides of the wide sub-grid and the closed outline of the other";
  const auto pixels = testing::PaintedPixels(dialog->display(), kOutlineLayer, MapBox(), *window);
  EXPECT_GT(pixels.painted, 0);
  EXPECT_EQ(pixels.outside, 0) << "outline pixels off the map";
  // A point calculated by the grid: its accuracy fits the status field beside Calculate.
  QTest::mouseClick(Widget<QPushButton>(MW::kCalculate), Qt::LeftButton);
  auto* status = Widget<QLineEdit>(MW::kStatus);
  EXPECT_EQ(status->text().left(9), "Acc: Lat ");
  EXPECT_TRUE(ui::qt::TextFits(*status, status->font(), status->text())) << "status cut";
  testing::SaveScreenshot(window.get(), testing::ScreenshotName("main_window_outlines", *window));
}

}  // namespace
}  // namespace tarvo::mainwindow

namespace tarvo::mainwindow {
namespace {

// MGA2020 on the To side of the real window: the list shows it, the labels and the status
// field name GDA2020 and its step. Leaves a screenshot.
TEST(MainWindowGda2020Gui, CalculatesToMga2020AndSaysHow) {
  testing::TempDir folder;
  engine::TransformSettings saved;
  saved.accuracyMethod = engine::AccuracyMethod::Medium;
  WindowTexts texts;
  texts.toSystem = "MGA2020";
  testing::WriteFile(folder / "tarvo_prm.dat", FormatSavedSettings(texts, saved, {}));
  ui::qt::QtDesktop desktop;
  engine::TransformSettings settings;
  ntv2::GridChoice grid;
  MW dialog(desktop, settings, grid, folder.path());
  ui::qt::DialogWindow window(dialog, desktop, nullptr);
  ASSERT_TRUE(tarvo::testing::ShowActive(dialog, window));
  auto* toSystem = tarvo::testing::ControlAs<QComboBox>(window, MW::kToSystem);
  EXPECT_EQ(toSystem->currentText(), "MGA2020");
  tarvo::testing::ControlAs<QPushButton>(window, MW::kCalculate)->click();
  EXPECT_EQ(tarvo::testing::ControlAs<QLineEdit>(window, MW::kToEast)->text(), "379292.292");
  EXPECT_EQ(dialog.texts().toGridLabel, "MGA 2020");
  EXPECT_EQ(tarvo::testing::ControlAs<QLineEdit>(window, MW::kStatus)->text(),
            "GDA2020 by 7 parameters (conformal, no distortion)");
  testing::SaveScreenshot(&window, "main_window_mga2020");
}

}  // namespace
}  // namespace tarvo::mainwindow
