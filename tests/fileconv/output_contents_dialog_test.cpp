// The output contents dialog: no choice when it opens, Start insists on one, Cancel and
// Escape leave none.
#include "fileconv/output_contents_dialog.h"

#include <gtest/gtest.h>

#include "ui/testing/fake_view.h"
#include "ui/testing/scripted_desktop.h"

namespace tarvo::fileconv {
namespace {

using ui::testing::FakeView;
using ui::testing::ScriptedDesktop;
using D = OutputContentsDialog;

TEST(OutputContentsDialog, OpensWithNeitherChoiceSelected) {
  ScriptedDesktop desktop;
  D dialog(desktop);
  FakeView view(dialog);
  view.Open();
  EXPECT_EQ(dialog.title(), "");
  EXPECT_FALSE(view.Shown(D::kWithInput).checked);
  EXPECT_FALSE(view.Shown(D::kResultsOnly).checked);
  EXPECT_EQ(view.Shown(D::kWithInput).text, "Output File to display results as well as input.");
  EXPECT_EQ(view.Shown(D::kResultsOnly).text, "Output File to display results only.");
}

TEST(OutputContentsDialog, StartWithoutAChoiceComplainsAndStaysOpen) {
  ScriptedDesktop desktop;
  D dialog(desktop);
  FakeView view(dialog);
  view.Open();
  view.Press(D::kStart);
  EXPECT_FALSE(view.isClosed());
  ASSERT_EQ(desktop.messages().size(), 1u);
  EXPECT_EQ(desktop.messages()[0].text, "You have not selected a Option");
  EXPECT_EQ(desktop.messages()[0].caption, "ERROR");
  EXPECT_EQ(desktop.messages()[0].icon, ui::MessageIcon::Error);

  view.Click(D::kResultsOnly);
  view.Click(D::kWithInput);
  EXPECT_TRUE(view.Shown(D::kWithInput).checked);
  EXPECT_FALSE(view.Shown(D::kResultsOnly).checked) << "the buttons exclude each other";
  view.Press(D::kStart);
  EXPECT_TRUE(view.isClosed());
  EXPECT_EQ(dialog.choice(), OutputContents::ResultsWithInput);
}

TEST(OutputContentsDialog, CancelAndEscapeLeaveNoChoice) {
  ScriptedDesktop desktop;
  D cancelled(desktop);
  desktop.QueueModal([](FakeView& view) {
    view.Click(D::kResultsOnly);
    view.Click(D::kCancel);
  });
  EXPECT_EQ(desktop.RunModal(cancelled), ui::kResultCancel);
  EXPECT_EQ(cancelled.choice(), std::nullopt);

  D escaped(desktop);
  desktop.QueueModal([](FakeView& view) {
    view.Click(D::kResultsOnly);
    view.Escape();
  });
  desktop.RunModal(escaped);
  EXPECT_EQ(escaped.choice(), std::nullopt);
}

}  // namespace
}  // namespace tarvo::fileconv
