// Leaving with unsaved work asks: Escape or the close box ended the program at once, also
// with a session's work unsaved. Now "Leave without saving?" comes first whenever the
// window's values differ from those loaded or last saved; without changes it leaves at once.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "tests/mainwindow/main_window_fixture.h"

namespace tarvo::mainwindow {
namespace {

using UnsavedWork = MainWindowTest;

TEST_F(UnsavedWork, EscapeAsksOnlyWhenTheWindowHoldsUnsavedValues) {
  struct Case {
    const char* what;
    std::function<void(ui::testing::FakeView&)> work;
    bool asks;
    ui::MessageAnswer answer;  // when asked
    bool leaves;
  };
  using View = ui::testing::FakeView;
  const Case cases[] = {
      {"nothing done", [](View&) {}, false, ui::MessageAnswer::Yes, true},
      {"fields entered and left unchanged",
       [](View& v) {
         v.Focus(MW::kFromLatitude);
         v.Focus(MW::kFromEast);
         v.Blur();
       },
       false, ui::MessageAnswer::Yes, true},
      {"a calculation, leaving", [](View& v) { v.Click(MW::kCalculate); }, true,
       ui::MessageAnswer::Yes, true},
      {"a calculation, staying", [](View& v) { v.Click(MW::kCalculate); }, true,
       ui::MessageAnswer::No, false},
      {"a new East typed, the field not yet left", [](View& v) { v.Type(MW::kFromEast, "380000"); },
       true, ui::MessageAnswer::No, false},
      {"another zone picked", [](View& v) { v.Select(MW::kToZone, "55"); }, true,
       ui::MessageAnswer::Yes, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SaveDefaults(engine::AccuracyMethod::Medium);
    Open();
    c.work(*view);
    desktop.ClearMessages();
    if (c.asks) desktop.QueueAnswer(c.answer);
    const WindowTexts before = texts();
    view->Escape();
    ASSERT_EQ(desktop.messages().size(), c.asks ? 1u : 0u);
    if (c.asks) {
      EXPECT_EQ(desktop.messages()[0].text,
                "Leave without saving?\nChanges are kept only by Save & Exit");
      EXPECT_EQ(desktop.messages()[0].caption, "EXIT");
      EXPECT_EQ(desktop.messages()[0].buttons, ui::MessageButtons::YesNo);
    }
    EXPECT_EQ(view->isClosed(), c.leaves);
    if (view->isClosed()) {
      EXPECT_EQ(view->closedWith(), ui::kResultCancel);
    }
    EXPECT_EQ(texts().toEast, before.toEast) << "staying keeps every value";
  }
}

TEST_F(UnsavedWork, AfterASaveThatFailedTheWorkIsStillUnsaved) {
  SaveDefaults(engine::AccuracyMethod::Medium);
  Open();
  view->Click(MW::kCalculate);
  std::filesystem::remove(folder / "tarvo_prm.dat");
  std::filesystem::create_directory(folder / "tarvo_prm.dat");
  view->Press(MW::kSaveAndExit);
  desktop.ClearMessages();
  desktop.QueueAnswer(ui::MessageAnswer::No);
  view->Escape();
  ASSERT_EQ(desktop.messages().size(), 1u);
  EXPECT_FALSE(view->isClosed());
}

}  // namespace
}  // namespace tarvo::mainwindow
