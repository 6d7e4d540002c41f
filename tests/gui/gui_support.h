// Helpers for driving real widgets offscreen: answering modal windows from a timer, waiting
// for events, and saving screenshots for a person to look at.
#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <string>

namespace tarvo::testing {

// Runs `act` on the active modal widget of type T as soon as one is open (polling every
// 20 ms, for at most 5 s), then stops. Start it before the action that opens the window.
template <class T>
void WhenModal(std::function<void(T*)> act) {
  auto* timer = new QTimer;
  auto* waited = new int(0);
  QObject::connect(timer, &QTimer::timeout, [timer, waited, act] {
    if (auto* widget = qobject_cast<T*>(QApplication::activeModalWidget())) {
      timer->stop();
      timer->deleteLater();
      delete waited;
      act(widget);
    } else if (++*waited > 250) {
      timer->stop();
      timer->deleteLater();
      delete waited;
    }
  });
  timer->start(20);
}

// Saves a picture of `widget` as build-folder/screenshots/<name>.png and returns its path.
std::string SaveScreenshot(QWidget* widget, const std::string& name);

}  // namespace tarvo::testing
