// Where the help window goes: beside the window it helps where the screen has room for it,
// over it where not, as tall as the screen and wholly on it.
#include <gtest/gtest.h>

#include "ui/qt/help_window.h"

namespace tarvo::ui::qt {
namespace {

TEST(HelpWindowPlace, BesideTheOwnerWhereThereIsRoomElseOverItAlwaysOnItsScreen) {
  const QMargins frame(4, 28, 4, 4);
  const QRect desktop(0, 0, 1280, 1024);
  struct Case {
    const char* what;
    QRect owner;  // frame geometry
    QRect available;
    QMargins frame;
    QRect expected;  // client geometry
  } cases[] = {
      {"owner at the left", {0, 0, 601, 490}, desktop, frame, {605, 28, 600, 992}},
      {"owner at the right", {679, 0, 601, 490}, desktop, frame, {75, 28, 600, 992}},
      {"owner centred: over it", {340, 267, 601, 490}, desktop, frame, {340, 28, 600, 992}},
      {"room beside narrower than the help", {0, 0, 800, 458}, desktop, frame, {804, 28, 472, 992}},
      {"small screen: over it, kept on the screen",
       {0, 0, 601, 490},
       {0, 0, 800, 600},
       frame,
       {4, 28, 600, 568}},
      {"screen narrower than the help",
       {0, 0, 400, 300},
       {0, 0, 500, 600},
       frame,
       {4, 28, 492, 568}},
      {"second screen", {1300, 100, 601, 490}, {1280, 0, 1920, 1080}, frame, {1905, 28, 600, 1048}},
      {"no window manager", {0, 0, 593, 458}, desktop, {}, {593, 0, 600, 1024}},
  };
  for (const Case& c : cases) {
    const QRect place = HelpWindowPlace(c.owner, c.available, c.frame);
    EXPECT_EQ(place, c.expected) << c.what;
    EXPECT_TRUE(c.available.contains(place.marginsAdded(c.frame))) << c.what;
  }
}

}  // namespace
}  // namespace tarvo::ui::qt
