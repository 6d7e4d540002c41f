// The main window through real widgets: it opens with every control in place and its saved
// texts, Alt+S saves and ends, and screenshots are left for a person to look at.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <fstream>

#include "engine/transform_settings.h"
#include "mainwindow/main_window.h"
#include "mainwindow/saved_settings.h"
#include "ntv2/grid_choice.h"
#include "tests/gui/gui_support.h"
#include "tests/support/support.h"
#include "ui/qt/dialog_window.h"
#include "ui/qt/qt_desktop.h"

namespace tarvo::mainwindow {
namespace {

using MW = MainTransformDialog;

class MainWindowGui : public ::testing::Test {
 protected:
  MainWindowGui() {
    // A saved state of the Medium Accuracy method, so no options dialog comes first.
    engine::TransformSettings saved;
    saved.accuracyMethod = engine::kMediumAccuracy;
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

}  // namespace
}  // namespace tarvo::mainwindow
