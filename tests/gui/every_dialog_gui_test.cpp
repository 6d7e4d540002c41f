// What holds for every window of the program, through real widgets: F1 opens the help at the
// window's own section, every control a user can reach has an accessible name, Tab follows
// the controls in reading order, and on a screen of twice the pixel density every window is
// twice the size in pixels, with the map's marks on the same places.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QTextBrowser>
#include <functional>
#include <memory>

#include "angles/angle_conversion_dialog.h"
#include "engine/transform_settings.h"
#include "fileconv/file_conversion_dialog.h"
#include "fileconv/output_contents_dialog.h"
#include "mainwindow/about_dialog.h"
#include "mainwindow/help_text.h"
#include "mainwindow/main_window.h"
#include "mainwindow/map.h"
#include "mainwindow/saved_settings.h"
#include "ntv2/datum_choice_dialog.h"
#include "ntv2/grid_file_dialog.h"
#include "params/options_dialog.h"
#include "params/parameters_dialog.h"
#include "tests/gui/gui_support.h"
#include "tests/support/support.h"
#include "ui/qt/dialog_window.h"
#include "ui/qt/qt_desktop.h"

namespace tarvo {
namespace {

// The program's state that the windows work on, in a temporary start-up folder.
struct Program {
  Program() {
    engine::TransformSettings saved;
    saved.accuracyMethod = engine::kMediumAccuracy;
    testing::WriteFile(folder / "tarvo_prm.dat",
                       mainwindow::FormatSavedSettings(mainwindow::WindowTexts{}, saved, grid));
    settings.accuracyMethod = engine::kMediumAccuracy;
  }
  testing::TempDir folder;
  ui::qt::QtDesktop desktop{mainwindow::HelpText()};
  engine::TransformSettings settings;
  ntv2::GridChoice grid;
  ntv2::GridInterpolator interpolator;
  fileconv::BatchValues batch;
};

using DialogMaker = std::function<std::unique_ptr<ui::Dialog>(Program&)>;

struct Window {
  const char* name;
  DialogMaker make;
};

const Window kWindows[] = {
    {"main_window",
     [](Program& p) -> std::unique_ptr<ui::Dialog> {
       return std::make_unique<mainwindow::MainTransformDialog>(p.desktop, p.settings, p.grid,
                                                                p.folder.path());
     }},
    {"options_dialog",
     [](Program& p) -> std::unique_ptr<ui::Dialog> {
       return std::make_unique<params::OptionsDialog>(p.desktop, p.settings, p.grid,
                                                      p.folder.path());
     }},
    {"parameters_dialog",
     [](Program& p) -> std::unique_ptr<ui::Dialog> {
       return std::make_unique<params::ParametersDialog>(p.desktop, p.settings, p.folder.path());
     }},
    {"grid_file_dialog",
     [](Program& p) -> std::unique_ptr<ui::Dialog> {
       return std::make_unique<ntv2::GridFileDialog>(p.desktop, p.grid, p.folder.path());
     }},
    {"datum_choice_dialog",
     [](Program& p) -> std::unique_ptr<ui::Dialog> {
       return std::make_unique<ntv2::DatumChoiceDialog>(p.desktop, p.grid);
     }},
    {"file_conversion_dialog",
     [](Program& p) -> std::unique_ptr<ui::Dialog> {
       return std::make_unique<fileconv::FileConversionDialog>(
           p.desktop, p.settings, p.grid, p.interpolator, p.batch, p.folder.path());
     }},
    {"output_contents_dialog",
     [](Program& p) -> std::unique_ptr<ui::Dialog> {
       return std::make_unique<fileconv::OutputContentsDialog>(p.desktop);
     }},
    {"angle_conversion_dialog",
     [](Program& p) -> std::unique_ptr<ui::Dialog> {
       return std::make_unique<angles::AngleConversionDialog>(
           p.desktop, "32\xB0 53' 30.0000\"", "151\xB0 42' 30.0000\"", "32\xB0 53' 24.2646\"",
           "151\xB0 42' 34.1392\"", "AMG 84 Zone 56", "MGA 94 Zone 56");
     }},
    {"about_box",
     [](Program& p) -> std::unique_ptr<ui::Dialog> {
       return std::make_unique<mainwindow::AboutDialog>(p.desktop);
     }},
};

// Test output names a window by its name.
void PrintTo(const Window& window, std::ostream* out) {
  *out << window.name;
}

class EveryWindow : public ::testing::TestWithParam<Window> {
 protected:
  void Open() {
    dialog = GetParam().make(program);
    window = std::make_unique<ui::qt::DialogWindow>(*dialog, program.desktop, nullptr);
    ASSERT_TRUE(tarvo::testing::ShowActive(*dialog, *window));
  }
  // The widgets of the window's controls that Tab can reach, in the window's focus chain.
  std::vector<QWidget*> TabChain() const {
    std::vector<QWidget*> reachable;
    for (const auto& control : dialog->Controls()) {
      QWidget* widget = window->ControlWidget(control.id);
      if (widget != nullptr && widget->isVisible() && widget->isEnabled() &&
          (widget->focusPolicy() & Qt::TabFocus)) {
        reachable.push_back(widget);
      }
    }
    return reachable;
  }

  Program program;
  std::unique_ptr<ui::Dialog> dialog;
  std::unique_ptr<ui::qt::DialogWindow> window;
};

TEST_P(EveryWindow, F1OpensTheHelpAtTheWindowsOwnSection) {
  Open();
  ASSERT_FALSE(dialog->helpTopic().empty()) << GetParam().name << " has no help section";
  bool known = false;
  for (const auto& section : mainwindow::HelpText()) known |= section.topic == dialog->helpTopic();
  EXPECT_TRUE(known) << "no help section '" << dialog->helpTopic() << "'";
  QWidget* focused = QApplication::focusWidget() ? QApplication::focusWidget() : window.get();
  QTest::keyClick(focused, Qt::Key_F1);
  ASSERT_NE(program.desktop.helpWindow(), nullptr);
  EXPECT_TRUE(program.desktop.helpWindow()->isVisible());
  EXPECT_EQ(program.desktop.helpTopic(), dialog->helpTopic());
}

TEST_P(EveryWindow, EveryReachableControlHasAnAccessibleName) {
  Open();
  for (QWidget* widget : TabChain()) {
    EXPECT_FALSE(widget->accessibleName().trimmed().isEmpty())
        << GetParam().name << ": a " << widget->metaObject()->className() << " at (" << widget->x()
        << ", " << widget->y() << ") has no accessible name";
  }
}

TEST_P(EveryWindow, TabFollowsTheControlsInReadingOrder) {
  Open();
  const std::vector<QWidget*> expected = TabChain();
  ASSERT_FALSE(expected.empty());
  // Walk the focus chain from the first control and keep the window's own controls.
  std::vector<QWidget*> walked;
  QWidget* widget = expected.front();
  for (size_t steps = 0; steps < 1000 && walked.size() < expected.size(); ++steps) {
    if (std::find(expected.begin(), expected.end(), widget) != expected.end() &&
        std::find(walked.begin(), walked.end(), widget) == walked.end()) {
      walked.push_back(widget);
    }
    widget = widget->nextInFocusChain();
  }
  EXPECT_EQ(walked, expected) << GetParam().name;
}

// Runs as its own test with QT_SCALE_FACTOR=2 (see CMakeLists.txt); without it, it skips.
TEST_P(EveryWindow, HighDensityScreenShowsTheWindowTwiceAsLargeAndSharp) {
  Open();
  const QPixmap picture = window->grab();
  if (picture.devicePixelRatio() != 2.0) GTEST_SKIP() << "needs QT_SCALE_FACTOR=2";
  EXPECT_EQ(picture.width(), 2 * window->width());
  EXPECT_EQ(picture.height(), 2 * window->height());
  testing::SaveScreenshot(window.get(), std::string(GetParam().name) + "_2x");
  if (std::string(GetParam().name) == "main_window") {
    // The marker of the default point, on the same map place at twice the pixels.
    auto* main = static_cast<mainwindow::MainTransformDialog*>(dialog.get());
    QTest::mouseClick(window->ControlWidget(mainwindow::MainTransformDialog::kCalculate),
                      Qt::LeftButton);
    const ui::PixelRect box = mainwindow::MarkerBox(32.533, 151.423);
    const QImage image = window->grab().toImage();
    const QColor ring = image.pixelColor(static_cast<int>(2 * box.left + 1),
                                         static_cast<int>(2 * (box.top + box.bottom) / 2));
    EXPECT_GT(ring.red(), 200) << "red ring at twice the marker's place";
    EXPECT_LT(ring.green(), 80);
    EXPECT_EQ(main->texts().toEast, "379291.796");
  }
}

INSTANTIATE_TEST_SUITE_P(Windows, EveryWindow, ::testing::ValuesIn(kWindows),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tarvo
