// The main window through real widgets: it opens with every control in place and its saved
// texts, Alt+S saves and ends, and screenshots are left for a person to look at.
#include <gtest/gtest.h>

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
    dialog->Show();
    window->show();
    QApplication::setActiveWindow(window.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  }
  template <class W>
  W* Widget(int id) {
    return qobject_cast<W*>(window->ControlWidget(id));
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

}  // namespace
}  // namespace tarvo::mainwindow
