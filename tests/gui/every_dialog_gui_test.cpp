// What holds for every window of the program, through real widgets: F1 opens the help at the
// window's own section, every control a user can reach has an accessible name, Tab follows
// the controls in reading order, and on a screen of twice the pixel density every window is
// twice the size in pixels, with the map's marks on the same places.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QTextBrowser>
#include <algorithm>
#include <cctype>
#include <functional>
#include <memory>

#include "angles/angle_conversion_dialog.h"
#include "angles/angle_format.h"
#include "angles/angle_writing.h"
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
#include "ntv2/grid_header.h"
#include "params/options_dialog.h"
#include "params/parameter_sets.h"
#include "params/parameters_dialog.h"
#include "tests/gui/gui_support.h"
#include "tests/support/support.h"
#include "ui/qt/dialog_window.h"
#include "ui/qt/qt_desktop.h"
#include "ui/qt/text_fit.h"
#include "ui/testing/scripted_desktop.h"

namespace tarvo {
namespace {

// The program's state that the windows work on, in a temporary start-up folder.
struct Program {
  Program() {
    engine::TransformSettings saved;
    saved.accuracyMethod = engine::AccuracyMethod::Medium;
    testing::WriteFile(folder / "tarvo_prm.dat",
                       mainwindow::FormatSavedSettings(mainwindow::WindowTexts{}, saved, grid));
    settings.accuracyMethod = engine::AccuracyMethod::Medium;
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
  ui::qt::HelpWindow* help = program.desktop.helpWindow();
  ASSERT_NE(help, nullptr);
  EXPECT_TRUE(help->isVisible());
  EXPECT_EQ(program.desktop.helpTopic(), dialog->helpTopic());
  EXPECT_TRUE(help->screen()->availableGeometry().contains(help->frameGeometry()))
      << "the help window lies wholly on its screen";
  // Escape and Ctrl+W close it, so it closes without a window manager too.
  QTest::keyClick(help, Qt::Key_Escape);
  EXPECT_FALSE(help->isVisible());
  QTest::keyClick(focused, Qt::Key_F1);
  EXPECT_TRUE(help->isVisible());
  QTest::keyClick(help, Qt::Key_W, Qt::ControlModifier);
  EXPECT_FALSE(help->isVisible());
}

// A text with its line breaks and runs of blanks as one blank; a caption's "&" marks go
// too ("&&" shows one "&").
std::string AsNamed(const std::string& text, bool caption) {
  std::string named;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (caption && c == '&') {
      if (i + 1 < text.size() && text[i + 1] == '&') named += text[++i];
      continue;
    }
    const bool blank = c == ' ' || c == '\r' || c == '\n';
    if (blank && (named.empty() || named.back() == ' ')) continue;
    named += blank ? ' ' : c;
  }
  while (!named.empty() && named.back() == ' ') named.pop_back();
  return named;
}

// The window's help section names every choice the window offers: each button, radio
// button and window menu command by its caption, and each list entry that is a word (not a
// zone or field number), the lists filled as when they drop down or get the focus.
TEST_P(EveryWindow, HelpSectionNamesEveryChoiceOfItsWindow) {
  Open();
  std::string section;
  for (const auto& s : mainwindow::HelpText()) {
    if (s.topic == dialog->helpTopic()) section = AsNamed(s.text, false);
  }
  std::vector<std::string> choices;  // as named in the help
  for (const ui::ControlTemplate& control : dialog->Controls()) {
    if (!dialog->State(control.id).visible) continue;
    switch (control.kind) {
      case ui::ControlKind::Button:
      case ui::ControlKind::DefaultButton:
      case ui::ControlKind::RadioButton:
        choices.push_back(AsNamed(control.caption, true));
        break;
      case ui::ControlKind::DropDownList:
      case ui::ControlKind::DropDownCombo:
        for (const ui::Event event : {ui::Event::FocusEnter, ui::Event::DropDown}) {
          if (dialog->HasHandler(control.id, event)) dialog->Dispatch(control.id, event);
        }
        for (const std::string& item : dialog->State(control.id).items) {
          if (std::any_of(item.begin(), item.end(), [](char c) { return std::isalpha(c); })) {
            choices.push_back(AsNamed(item, false));
          }
        }
        break;
      default:
        break;
    }
  }
  for (const ui::MenuCommand& command : dialog->menuCommands()) {
    choices.push_back(AsNamed(command.caption, true));
  }
  // The file type the list does not offer, reached through the settings file.
  if (dialog->helpTopic() == "fileconv") choices.emplace_back("T27 - ACS Input");
  for (const std::string& named : choices) {
    if (named.empty()) continue;
    EXPECT_NE(section.find(named), std::string::npos)
        << "help section '" << dialog->helpTopic() << "' does not name \"" << named << "\"";
  }
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

// --- Layout ----------------------------------------------------------------------------
// The layout tests run at 1x and again at 2x as their own test (see CMakeLists.txt); their
// screenshots are left in the build folder, with "_2x" at twice the pixel density.

// Texts the program puts into a window's controls that it does not show when it opens or
// when a control gets the focus: results, accuracy texts, labels of other settings. The
// longest of each kind are here.
std::vector<std::pair<int, std::string>> LongestTexts(const std::string& window) {
  using MW = mainwindow::MainTransformDialog;
  std::vector<std::pair<int, std::string>> texts;
  if (window == "main_window") {
    texts = {{MW::kStatus, "Acc: Lat 0.006m Long 0.010m"},
             {MW::kStatus, "No Accuracy Available"},
             {MW::kMethodLabel, "High Accuracy - NTv2"},
             {MW::kParameterSetLabel, *ntv2::GridLabel({ntv2::GridMethod::GridFileAgd84,
                                                        "/grids/A66_National_13_09_01.gsb"})},
             {MW::kParameterSetLabel, *params::ParameterSetLabel(3)},
             {MW::kParameterSetLabel, *params::ParameterSetLabel(4)},
             {MW::kFromConvergence, "-2\xB0 59' 59.99999\""},
             {MW::kToScaleFactor, "1.0007123"}};
    for (const int id : {MW::kFromGridLabel, MW::kToGridLabel}) {
      for (const char* label : {"AMG 84", "AMG 66", "ISG 66", "MGA 94"})
        texts.emplace_back(id, label);
    }
    for (const int id : {MW::kFromDatumLabel, MW::kToDatumLabel}) {
      for (const char* label : {"AGD 84", "AGD 66", "GDA 94"}) texts.emplace_back(id, label);
    }
    // Cartesian X, Y, Z of a point in Australia, the longest numbers the fields show.
    for (const int id : {MW::kFromEast, MW::kFromNorth, MW::kFromHeight, MW::kToEast, MW::kToNorth,
                         MW::kToHeight}) {
      texts.emplace_back(id, "-4646450.123");
    }
    // A latitude and longitude in every notation: as typed (High Accuracy: 9 decimals of
    // the packed value) and as shown on the To side (5 decimals of seconds).
    ui::testing::ScriptedDesktop quiet;
    for (const std::string_view format : angles::OutputFormatLabels()) {
      if (const auto input = angles::FindAngleFormat(format); input && IsInputFormat(*input)) {
        texts.emplace_back(
            MW::kFromLatitude,
            *angles::PackedToEditText(43.5959999, 9, *input, angles::TextTarget::Window));
        texts.emplace_back(
            MW::kFromLongitude,
            *angles::PackedToEditText(153.5959999, 9, *input, angles::TextTarget::Window));
      }
      std::string latitude = "-43\xB0 59' 59.99999\"";
      std::string longitude = "153\xB0 59' 59.99999\"";
      angles::ApplyOutputFormat(latitude, longitude, format, 5, quiet);
      texts.emplace_back(MW::kToLatitude, latitude);
      texts.emplace_back(MW::kToLongitude, longitude);
    }
  } else if (window == "grid_file_dialog") {
    using Dlg = ntv2::GridFileDialog;
    texts = {{Dlg::kFormat, "Australian NTv2"},
             {Dlg::kDatum, "AGD66/84"},
             {Dlg::kMaxLatitude, ntv2::ExtentLatitudeText(161999.999)},
             {Dlg::kMaxLongitude, ntv2::ExtentLongitudeText(561599.999)},
             {Dlg::kSubGrid, "SUB_NAMENSW_0701"}};
  } else if (window == "file_conversion_dialog") {
    using Dlg = fileconv::FileConversionDialog;
    texts = {{Dlg::kFirstFieldLabel, "Latitude Field"},
             {Dlg::kSecondFieldLabel, "Longitude Field"},
             {Dlg::kHeightFieldLabel, "Height Field"},
             {Dlg::kMethod, "High Accuracy - NTv2"},
             {Dlg::kParameterDescription,
              *ntv2::GridLabel({ntv2::GridMethod::GridFileAgd84, "A66_National_13_09_01.gsb"})},
             {Dlg::kParameterDescription, *params::ParameterSetLabel(3)},
             {Dlg::kInputFormatNote, "Input Latitude & Longitude format DDD.dddddddddd"}};
  } else if (window == "parameters_dialog") {
    using Dlg = params::ParametersDialog;
    texts = {{Dlg::kPresetListCopy, params::ApplyPreset(3)->listText},
             {Dlg::kPresetLabel, params::ApplyPreset(4)->label},
             {Dlg::UserField(0), std::string(28, '8')}};
  } else if (window == "angle_conversion_dialog") {
    using Dlg = angles::AngleConversionDialog;
    texts = {{Dlg::kFromHeading, "ISG 66 Zone 563"},
             {Dlg::CellId(0, 0), "-43\xB0 59' 59.99999\""},
             {Dlg::CellId(6, 1), "553199.99999"}};
  }
  return texts;
}

// Whether every text a control shows fits its box, in the font the control shows it in.
void ExpectTextsFit(const ui::Dialog& dialog, const ui::qt::DialogWindow& window,
                    const std::string& when) {
  for (const ui::ControlTemplate& control : dialog.Controls()) {
    const QWidget* widget = window.ControlWidget(control.id);
    if (widget == nullptr || !widget->isVisible()) continue;
    // A box of wrapped lines shows them all without scrolling.
    if (const auto* multi = qobject_cast<const QPlainTextEdit*>(widget);
        multi != nullptr && multi->lineWrapMode() != QPlainTextEdit::NoWrap) {
      EXPECT_FALSE(multi->verticalScrollBar()->isVisible())
          << window.windowTitle().toStdString() << ", control " << control.id << " " << when
          << " scrolls \"" << multi->toPlainText().toStdString() << "\"";
    }
    for (const QString& text : ui::qt::ShownTexts(*widget)) {
      EXPECT_TRUE(ui::qt::TextFits(*widget, widget->font(), text))
          << window.windowTitle().toStdString() << ", control " << control.id << " ("
          << control.accessibleName << ") " << when << ": \"" << text.toStdString()
          << "\" does not fit " << ui::qt::TextRoom(*widget).width() << " x "
          << ui::qt::TextRoom(*widget).height() << " px at stretch " << widget->font().stretch();
    }
  }
}

// Every text of every control fits its box (as the window opens, with the focus in each
// control, and with the longest texts the program puts there), no two controls overlap
// (a group box holds its controls whole), and every control lies inside the window.
TEST_P(EveryWindow, LayoutHoldsEveryTextInItsBox) {
  Open();
  const QRect client = window->rect();
  std::vector<std::pair<const ui::ControlTemplate*, QRect>> boxes;
  const std::vector<ui::ControlTemplate> controls = dialog->Controls();
  for (const ui::ControlTemplate& control : controls) {
    const QWidget* widget = window->ControlWidget(control.id);
    if (widget == nullptr || !widget->isVisible()) continue;
    EXPECT_TRUE(client.contains(widget->geometry()))
        << GetParam().name << ": control " << control.id << " reaches outside the window";
    boxes.emplace_back(&control, widget->geometry());
  }
  for (size_t i = 0; i < boxes.size(); ++i) {
    for (size_t j = i + 1; j < boxes.size(); ++j) {
      const auto& [a, boxA] = boxes[i];
      const auto& [b, boxB] = boxes[j];
      const bool grouped = (a->kind == ui::ControlKind::GroupBox && boxA.contains(boxB)) ||
                           (b->kind == ui::ControlKind::GroupBox && boxB.contains(boxA));
      EXPECT_TRUE(grouped || !boxA.intersects(boxB))
          << GetParam().name << ": controls " << a->id << " and " << b->id << " overlap";
    }
  }

  ExpectTextsFit(*dialog, *window, "as opened");
  for (const ui::ControlTemplate& control : controls) {
    if (!dialog->HasHandler(control.id, ui::Event::FocusEnter)) continue;
    dialog->Dispatch(control.id, ui::Event::FocusEnter);
    ExpectTextsFit(*dialog, *window, "with the focus in control " + std::to_string(control.id));
  }
  for (const auto& [id, text] : LongestTexts(GetParam().name)) {
    ui::ControlState state = dialog->State(id);
    state.text = text;
    window->Apply(id, state);
    ExpectTextsFit(*dialog, *window, "showing its longest text");
  }
  testing::SaveScreenshot(
      window.get(),
      testing::ScreenshotName(std::string(GetParam().name) + "_longest_texts", *window));
}

INSTANTIATE_TEST_SUITE_P(Windows, EveryWindow, ::testing::ValuesIn(kWindows),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tarvo
