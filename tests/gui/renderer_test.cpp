// The Qt renderer carries real widget events to a dialog's handlers and shows what the
// framework applies: typing and tabbing out, Enter on the default button, mnemonics, lists
// that fill as they drop down, radio buttons under the dialog's control, message boxes.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "tests/gui/gui_support.h"
#include "tests/support/sample_dialog.h"
#include "ui/dialog.h"
#include "ui/qt/dialog_window.h"
#include "ui/qt/qt_desktop.h"

namespace tarvo::ui::qt {
namespace {

using tarvo::testing::SampleDialog;
constexpr int kEast = SampleDialog::kEast;
constexpr int kNorth = SampleDialog::kNorth;
constexpr int kZone = SampleDialog::kZone;
constexpr int kApply = SampleDialog::kApply;
constexpr int kUse = SampleDialog::kUse;
constexpr int kAsk = SampleDialog::kAsk;
constexpr int kOk = SampleDialog::kOk;

class RendererTest : public ::testing::Test {
 protected:
  RendererTest() : dialog(desktop), window(dialog, desktop, nullptr) {
    EXPECT_TRUE(tarvo::testing::ShowActive(dialog, window));
  }
  template <class W>
  W* Widget(int id) {
    return tarvo::testing::ControlAs<W>(window, id);
  }

  QtDesktop desktop;
  SampleDialog dialog;
  DialogWindow window;
};

TEST_F(RendererTest, TypingAndTabbingOutRunsTheLeaveHandler) {
  auto* east = Widget<QLineEdit>(kEast);
  ASSERT_NE(east, nullptr);
  EXPECT_EQ(east->text(), "379185.968");
  east->setFocus();
  east->selectAll();
  QTest::keyClicks(east, "4711.5");
  QTest::keyClick(east, Qt::Key_Tab);
  EXPECT_EQ(dialog.east, "4711.5");
  EXPECT_EQ(dialog.leaves, 1);
}

TEST_F(RendererTest, EnterPressesTheDefaultButtonAfterTheFocusedEditIsLeft) {
  auto* east = Widget<QLineEdit>(kEast);
  east->setFocus();
  east->selectAll();
  QTest::keyClicks(east, "1234.5");
  QTest::keyClick(east, Qt::Key_Return);
  EXPECT_EQ(dialog.eastAtOk, "1234.5");
  EXPECT_TRUE(dialog.closed());
}

TEST_F(RendererTest, MnemonicPressesTheButtonAndDoubledAmpersandShowsOne) {
  auto* ok = Widget<QPushButton>(kOk);
  EXPECT_EQ(ok->text(), "&Save && Exit");
  QTest::keyClick(&window, Qt::Key_S, Qt::AltModifier);
  QTest::qWait(300);  // a mnemonic animates the click
  EXPECT_TRUE(dialog.closed());
}

TEST_F(RendererTest, ListIsFilledWhenItDropsDownAndTheChoiceReachesTheDialog) {
  auto* zone = Widget<QComboBox>(kZone);
  EXPECT_EQ(zone->currentText(), "56 ");
  zone->showPopup();
  ASSERT_EQ(zone->count(), 3);
  EXPECT_EQ(zone->itemText(0), "49");
  zone->hidePopup();
  zone->setCurrentIndex(1);
  emit zone->activated(1);
  EXPECT_EQ(dialog.zone, "55");
}

TEST_F(RendererTest, RadioButtonShowsTheDialogsFlag) {
  auto* use = Widget<QRadioButton>(kUse);
  use->click();
  EXPECT_TRUE(use->isChecked());
  use->click();
  EXPECT_FALSE(use->isChecked()) << "a click on the selected button may deselect it";
}

TEST_F(RendererTest, MessageBoxAnswersReachTheHandler) {
  tarvo::testing::WhenModal<QMessageBox>([](QMessageBox* box) {
    EXPECT_EQ(box->windowTitle(), "RESET");
    EXPECT_EQ(box->icon(), QMessageBox::Question);
    box->button(QMessageBox::No)->click();
  });
  Widget<QPushButton>(kAsk)->click();
  EXPECT_EQ(dialog.answer, MessageAnswer::No);
}

TEST_F(RendererTest, DegreeSignAndSizeFollowTheTemplate) {
  EXPECT_EQ(window.windowTitle(), QString::fromUtf8("Sample \u00B0"));
  EXPECT_EQ(window.width(), 300);
  EXPECT_EQ(window.height(), 163);
  const QImage image = window.grab().toImage();
  EXPECT_EQ(image.pixelColor(155, 85), QColor(255, 0, 0)) << "the display list is painted";
}

TEST(QtFilter, TurnsAFilterListIntoQtsForm) {
  EXPECT_EQ(QtFilter("Grid Files (*.gsb)|*.gsb||"), "Grid Files (*.gsb)");
  EXPECT_EQ(QtFilter("All Files (*.*)|*.*|ACS (*.t27)|*.t27||"), "All Files (*.*);;ACS (*.t27)");
  EXPECT_EQ(QtFilter("Text|*.txt;*.csv||"), "Text (*.txt *.csv)");
}

}  // namespace
}  // namespace tarvo::ui::qt
