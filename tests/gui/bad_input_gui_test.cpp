// The main window's answers to bad input through real widgets: the question before leaving
// unsaved work, a refused entry, a grid refusal with its reason under the message, a result
// that is no number. Each message is left as a screenshot for a person to look at.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <memory>

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

// What a message box showed: its caption and its text.
struct Shown {
  QString caption;
  QString text;
};

class BadInputGui : public ::testing::Test {
 protected:
  void Open(engine::AccuracyMethod method = engine::AccuracyMethod::Medium,
            std::string gridPath = "") {
    engine::TransformSettings saved;
    saved.accuracyMethod = method;
    testing::WriteFile(
        folder / "tarvo_prm.dat",
        FormatSavedSettings(WindowTexts{}, saved,
                            ntv2::GridChoice{ntv2::GridMethod::GridFileAgd66, gridPath}));
    dialog = std::make_unique<MW>(desktop, settings, grid, folder.path());
    window = std::make_unique<ui::qt::DialogWindow>(*dialog, desktop, nullptr);
    ASSERT_TRUE(tarvo::testing::ShowActive(*dialog, *window));
  }
  QLineEdit* Edit(int id) { return tarvo::testing::ControlAs<QLineEdit>(*window, id); }

  // Answers the next message box with `button` after saving its picture as `screenshot`.
  void Answer(QMessageBox::StandardButton button, const std::string& screenshot) {
    tarvo::testing::WhenModal<QMessageBox>([this, button, screenshot](QMessageBox* box) {
      shown = {box->windowTitle(), box->text()};
      tarvo::testing::SaveScreenshot(box, screenshot);
      box->button(button)->click();
    });
  }
  void Type(int id, const char* text) {
    QLineEdit* edit = Edit(id);
    edit->setFocus(Qt::TabFocusReason);
    edit->selectAll();
    QTest::keyClicks(edit, text);
    QTest::keyClick(edit, Qt::Key_Tab);
  }
  void Calculate() {
    QTest::keyClick(window.get(), Qt::Key_C, Qt::AltModifier);
    QTest::qWait(300);  // a mnemonic animates the click
  }

  testing::TempDir folder;
  ui::qt::QtDesktop desktop;
  engine::TransformSettings settings;
  ntv2::GridChoice grid;
  std::unique_ptr<MW> dialog;
  std::unique_ptr<ui::qt::DialogWindow> window;
  Shown shown;
};

TEST_F(BadInputGui, EscapeWithUnsavedValuesAsksAndNoStays) {
  Open();
  Calculate();
  Answer(QMessageBox::No, "question_leave_without_saving");
  QTest::keyClick(window.get(), Qt::Key_Escape);
  EXPECT_EQ(shown.caption, "EXIT");
  EXPECT_EQ(shown.text, "Leave without saving?\nChanges are kept only by Save & Exit");
  EXPECT_FALSE(dialog->closed()) << "No stays";

  Answer(QMessageBox::Yes, "question_leave_without_saving");
  window->close();
  EXPECT_TRUE(dialog->closed()) << "the close box asks too, and Yes leaves";
}

TEST_F(BadInputGui, AnEntryWithoutANumberIsRefusedNamingTheField) {
  Open();
  Answer(QMessageBox::Ok, "message_invalid_east");
  Type(MW::kFromEast, "abc1");
  EXPECT_EQ(shown.text,
            "Invalid East: abc1\nEnter the East coordinate (m)\nReplacing with previous value");
  EXPECT_EQ(Edit(MW::kFromEast)->text(), "379185.968");
}

TEST_F(BadInputGui, AnUnusableGridIsRefusedWithItsReasonUnderTheMessage) {
  const auto path = folder / "bad.gsb";
  testing::WriteFile(path, std::string(200, '\0'));
  Open(engine::AccuracyMethod::High, path.string());
  Answer(QMessageBox::Ok, "message_invalid_grid_file");
  Calculate();
  EXPECT_EQ(shown.text, "Invalid GSB File (4320)\n" + QString::fromStdString(path.string()) +
                            ": NUM_FILE reads 0 (Canadian layout) and 0 (Australian layout); a "
                            "grid has 1 to 30 sub-grids");
  EXPECT_EQ(Edit(MW::kToEast)->text(), "") << "no To value of an earlier point stays";
  QApplication::processEvents();
  tarvo::testing::SaveScreenshot(window.get(), "main_window_calculation_refused");
}

TEST_F(BadInputGui, AResultThatIsNoNumberIsRefused) {
  Open();
  settings.semiMajorAxis = "1e300";  // a set of absurd size, as a user could type it
  Answer(QMessageBox::Ok, "message_no_valid_result");
  Calculate();
  EXPECT_EQ(shown.text, "No valid result\nCheck the input values");
  EXPECT_EQ(Edit(MW::kToNorth)->text(), "");
}

TEST_F(BadInputGui, AnUnusableTarvoVarIsRefusedAtStartUpNamingItsLine) {
  testing::WriteFile(folder / "Tarvo.var", "6378137.0\n298.257222101\nnan\n0\n0\n0\n0\n0\n0\n");
  Answer(QMessageBox::Ok, "message_tarvo_var_refused");
  Open();
  EXPECT_EQ(shown.text, "Invalid X Shift: nan\nMust be a finite number\n" +
                            QString::fromStdString((folder / "Tarvo.var").string()) +
                            " line 3: the file is not used");
}

}  // namespace
}  // namespace tarvo::mainwindow
