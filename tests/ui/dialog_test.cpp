// The dialog framework's contract with the dialogs: bound texts are shown after every
// handler, typed text reaches a dialog only through its handlers, and a button pressed while
// an edit keeps the focus runs the edit's leave handler first.
#include "ui/dialog.h"

#include <gtest/gtest.h>

#include "ui/testing/fake_view.h"
#include "ui/testing/scripted_desktop.h"

namespace tarvo::ui {
namespace {

using testing::FakeView;
using testing::ScriptedDesktop;

constexpr int kEast = 10;
constexpr int kNorth = 11;
constexpr int kZone = 12;
constexpr int kApply = 13;
constexpr int kUse = 14;
constexpr int kOk = 1;

// A small dialog in the style of the program's windows.
class SampleDialog : public Dialog {
 public:
  using Self = SampleDialog;
  explicit SampleDialog(Desktop& desktop) : Dialog(desktop) {
    SetTemplate("Sample", 200, 100);
    Edit(kEast, {10, 10, 60, 14}).Bind(east).OnLeave(&Self::LeaveEast);
    Edit(kNorth, {10, 30, 60, 14}).Bind(north);
    Add(ControlKind::DropDownCombo, kZone, "", {80, 10, 40, 60}, kSorted)
        .Bind(zone)
        .BindItems(zones)
        .OnDropDown(&Self::DropZones)
        .OnSelect(&Self::PickZone);
    Add(ControlKind::RadioButton, kUse, "&Use", {80, 30, 40, 10}).Bind(use).OnClick(&Self::Toggle);
    Button(kApply, "&Apply", {10, 60, 40, 14}).OnClick(&Self::ApplyClicked);
    DefaultButton(kOk, "&OK", {60, 60, 40, 14}).OnClick(&Self::Ok);
  }

  void LeaveEast() {
    ++leaves;
    if (ControlModified(kEast)) {
      const std::string typed = ControlText(kEast);
      if (typed.size() > 3) east = typed;
    }
  }
  void DropZones() { zones = {"56", "49", "55"}; }
  void PickZone() { zone = SelectedText(kZone).value_or("?"); }
  void Toggle() { use = !use; }
  void ApplyClicked() { ++applies; }
  void Ok() {
    eastAtOk = east;
    Close(kResultOk);
  }

  std::string east = "379185.968";
  std::string north = "6359970.566";
  std::string zone = "56 ";
  std::vector<std::string> zones;
  bool use = false;
  int leaves = 0;
  int applies = 0;
  std::string eastAtOk;
};

TEST(DialogRefresh, ShowsBoundTextsWhenOpened) {
  ScriptedDesktop desktop;
  SampleDialog dialog(desktop);
  FakeView view(dialog);
  view.Open();
  EXPECT_EQ(view.Shown(kEast).text, "379185.968");
  EXPECT_EQ(view.Shown(kZone).text, "56 ");
  EXPECT_EQ(view.Shown(kApply).text, "&Apply") << "an unbound control shows its caption";
}

TEST(DialogRefresh, TypedTextReachesTheDialogOnlyThroughItsHandler) {
  ScriptedDesktop desktop;
  SampleDialog dialog(desktop);
  FakeView view(dialog);
  view.Open();

  view.Type(kEast, "5");
  view.Focus(kNorth);
  EXPECT_EQ(dialog.east, "379185.968") << "the handler drops texts of 3 characters or fewer";
  EXPECT_EQ(view.Text(kEast), "379185.968") << "the refresh shows the bound text again";

  view.Type(kEast, "5000");
  view.Focus(kNorth);
  EXPECT_EQ(dialog.east, "5000");

  view.Type(kNorth, "123");
  view.Focus(kEast);
  EXPECT_EQ(dialog.north, "6359970.566") << "a control without a leave handler keeps its text";
  EXPECT_EQ(view.Text(kNorth), "6359970.566");
}

TEST(DialogRefresh, EnterOnTheDefaultButtonRunsTheFocusedEditsLeaveHandlerFirst) {
  ScriptedDesktop desktop;
  SampleDialog dialog(desktop);
  FakeView view(dialog);
  view.Open();
  view.Type(kEast, "4711.5");
  view.Press(kOk);
  EXPECT_EQ(dialog.eastAtOk, "4711.5");
  EXPECT_TRUE(view.isClosed());
  EXPECT_EQ(view.closedWith(), kResultOk);
}

TEST(DialogRefresh, AnEditLeftByAMnemonicIsNotLeftAgain) {
  ScriptedDesktop desktop;
  SampleDialog dialog(desktop);
  FakeView view(dialog);
  view.Open();
  view.Type(kEast, "4711.5");
  view.Press(kApply);
  EXPECT_EQ(dialog.leaves, 1);
  EXPECT_EQ(view.focus(), kApply) << "the focus moved to the button";
  view.Focus(kNorth);
  EXPECT_EQ(dialog.leaves, 1);
}

TEST(DialogRefresh, AMouseClickLeavesTheEditOnce) {
  ScriptedDesktop desktop;
  SampleDialog dialog(desktop);
  FakeView view(dialog);
  view.Open();
  view.Type(kEast, "4711.5");
  view.Click(kApply);
  EXPECT_EQ(dialog.leaves, 1);
  EXPECT_EQ(dialog.applies, 1);
}

TEST(DialogLists, DropDownFillsSortedItemsAndSelectionReportsTheShownEntry) {
  ScriptedDesktop desktop;
  SampleDialog dialog(desktop);
  FakeView view(dialog);
  view.Open();
  ASSERT_TRUE(view.Select(kZone, "55"));
  EXPECT_EQ(view.Shown(kZone).items, (std::vector<std::string>{"49", "55", "56"}));
  EXPECT_EQ(dialog.zone, "55");
}

TEST(DialogRadio, CheckStateFollowsTheBoundFlag) {
  ScriptedDesktop desktop;
  SampleDialog dialog(desktop);
  FakeView view(dialog);
  view.Open();
  view.Click(kUse);
  EXPECT_TRUE(view.Shown(kUse).checked);
  view.Click(kUse);
  EXPECT_FALSE(view.Shown(kUse).checked);
}

TEST(ScriptedModal, ScriptDrivesTheDialogAndEscapeClosesWhatIsLeftOpen) {
  ScriptedDesktop desktop;
  SampleDialog first(desktop);
  desktop.QueueModal([](FakeView& view) {
    view.Type(kEast, "1234.5");
    view.Press(kOk);
  });
  EXPECT_EQ(desktop.RunModal(first), kResultOk);
  EXPECT_EQ(first.east, "1234.5");

  SampleDialog second(desktop);
  EXPECT_EQ(desktop.RunModal(second), kResultCancel) << "no script: closed as by Escape";
  EXPECT_EQ(desktop.modalTitles(), (std::vector<std::string>{"Sample", "Sample"}));
}

TEST(ScriptedMessages, AreRecordedAndAnsweredFromTheQueue) {
  ScriptedDesktop desktop;
  desktop.QueueAnswer(MessageAnswer::No);
  EXPECT_EQ(
      desktop.ShowMessage("Are you sure ?", "RESET", MessageIcon::Question, MessageButtons::YesNo),
      MessageAnswer::No);
  EXPECT_EQ(desktop.ShowMessage("x", "y", MessageIcon::Error, MessageButtons::YesNo),
            MessageAnswer::Yes)
      << "without a queued answer the first button is pressed";
  ASSERT_EQ(desktop.messages().size(), 2u);
  EXPECT_EQ(desktop.messages()[0].caption, "RESET");
  EXPECT_EQ(desktop.messages()[0].icon, MessageIcon::Question);
}

}  // namespace
}  // namespace tarvo::ui
