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
#include "ui/dialog.h"
#include "ui/qt/dialog_window.h"
#include "ui/qt/qt_desktop.h"

namespace tarvo::ui::qt {
namespace {

constexpr int kEast = 10;
constexpr int kNorth = 11;
constexpr int kZone = 12;
constexpr int kUse = 14;
constexpr int kAsk = 15;
constexpr int kOk = 1;

class SampleDialog : public Dialog {
 public:
  using Self = SampleDialog;
  explicit SampleDialog(Desktop& desktop) : Dialog(desktop) {
    SetTemplate("Sample \xB0", 200, 100);
    Edit(kEast, {10, 10, 60, 14}).Bind(east).OnLeave(&Self::LeaveEast);
    Edit(kNorth, {10, 30, 60, 14}).Bind(north);
    Add(ControlKind::DropDownCombo, kZone, "", {80, 10, 40, 60}, kSorted)
        .Bind(zone)
        .BindItems(zones)
        .OnDropDown(&Self::DropZones)
        .OnSelect(&Self::PickZone);
    Add(ControlKind::RadioButton, kUse, "&Use", {80, 30, 40, 10}).Bind(use).OnClick(&Self::Toggle);
    Button(kAsk, "As&k", {10, 60, 40, 14}).OnClick(&Self::Ask);
    DefaultButton(kOk, "&Save && Exit", {60, 60, 60, 14}).OnClick(&Self::Ok);
    drawing().Add(0, FilledRect{{150, 80, 160, 90}, {255, 0, 0}});
  }
  void LeaveEast() {
    ++leaves;
    if (ControlModified(kEast)) east = ControlText(kEast);
  }
  void DropZones() { zones = {"56", "49", "55"}; }
  void PickZone() { zone = SelectedText(kZone).value_or("?"); }
  void Toggle() { use = !use; }
  void Ask() {
    answer = desktop().ShowMessage("Are you sure ?", "RESET", MessageIcon::Question,
                                   MessageButtons::YesNo);
  }
  void Ok() {
    eastAtOk = east;
    Close(kResultOk);
  }

  std::string east = "100.000";
  std::string north = "200.000";
  std::string zone = "56 ";
  std::vector<std::string> zones;
  bool use = false;
  int leaves = 0;
  MessageAnswer answer = MessageAnswer::Ok;
  std::string eastAtOk;
};

class RendererTest : public ::testing::Test {
 protected:
  RendererTest() : dialog(desktop), window(dialog, desktop, nullptr) {
    dialog.Show();
    window.show();
    QApplication::setActiveWindow(&window);
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
  }
  template <class W>
  W* Widget(int id) {
    return qobject_cast<W*>(window.ControlWidget(id));
  }

  QtDesktop desktop;
  SampleDialog dialog;
  DialogWindow window;
};

TEST_F(RendererTest, TypingAndTabbingOutRunsTheLeaveHandler) {
  auto* east = Widget<QLineEdit>(kEast);
  ASSERT_NE(east, nullptr);
  EXPECT_EQ(east->text(), "100.000");
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
