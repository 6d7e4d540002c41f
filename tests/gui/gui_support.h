// Helpers for driving real widgets offscreen: answering modal windows from a timer, waiting
// for events, and saving screenshots for a person to look at.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <string>

#include "ui/dialog.h"
#include "ui/qt/dialog_window.h"

namespace tarvo::testing {

// Runs `act` on the active modal widget of type T as soon as one is open (polling every
// 20 ms), then stops. Start it before the action that opens the window. It gives up after
// two minutes: a window that opens later than a short wait (a file chooser reading its folder
// under the sanitizers on a loaded machine can take seconds) must still be answered, or the
// test would hang in its modal loop.
template <class T>
void WhenModal(std::function<void(T*)> act) {
  auto* timer = new QTimer;
  auto* started = new QElapsedTimer;
  started->start();
  QObject::connect(timer, &QTimer::timeout, [timer, started, act] {
    auto* widget = qobject_cast<T*>(QApplication::activeModalWidget());
    if (widget == nullptr && !started->hasExpired(120000)) return;
    timer->stop();
    timer->deleteLater();
    delete started;
    if (widget != nullptr) act(widget);
  });
  timer->start(20);
}

// Shows a dialog in its real window and makes that the active window, as the desktop does
// with the window a user works in (offscreen, nothing becomes active by itself). Returns
// whether the window became active.
bool ShowActive(ui::Dialog& dialog, QWidget& window);

// The widget of control `id` as a W, failing the test when it is none.
template <class W>
W* ControlAs(const ui::qt::DialogWindow& window, int id) {
  auto* widget = qobject_cast<W*>(window.ControlWidget(id));
  EXPECT_NE(widget, nullptr) << "control " << id << " is no " << W::staticMetaObject.className();
  return widget;
}

// Saves a picture of `widget` as build-folder/screenshots/<name>.png and returns its path.
std::string SaveScreenshot(QWidget* widget, const std::string& name);

// `name` for a screenshot of `widget`, with "_2x" on a screen of twice the pixel density.
std::string ScreenshotName(const std::string& name, const QWidget& widget);

// The pixels that layer `layer` of `display` paints outside `area` (client pixels), painted
// alone at the pixel ratio of `window`; and those it paints at all.
struct LayerPixels {
  int painted = 0;
  int outside = 0;
};
LayerPixels PaintedPixels(const ui::DisplayList& display, int layer, const ui::PixelRect& area,
                          const QWidget& window);

}  // namespace tarvo::testing
