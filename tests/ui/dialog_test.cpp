// The dialog framework's contract with the dialogs: bound texts are shown after every
// handler, typed text reaches a dialog only through its handlers, and a button pressed while
// an edit keeps the focus runs the edit's leave handler first.
#include "ui/dialog.h"

#include <gtest/gtest.h>

#include "tests/support/sample_dialog.h"
#include "ui/testing/fake_view.h"
#include "ui/testing/scripted_desktop.h"

namespace tarvo::ui {
namespace {

using testing::FakeView;
using testing::ScriptedDesktop;

using tarvo::testing::SampleDialog;
constexpr int kEast = SampleDialog::kEast;
constexpr int kNorth = SampleDialog::kNorth;
constexpr int kZone = SampleDialog::kZone;
constexpr int kApply = SampleDialog::kApply;
constexpr int kUse = SampleDialog::kUse;
constexpr int kAsk = SampleDialog::kAsk;
constexpr int kOk = SampleDialog::kOk;

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
  EXPECT_EQ(desktop.modalTitles(), (std::vector<std::string>{"Sample \xB0", "Sample \xB0"}));
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
