// A main window in a temporary start-up folder, driven through the scripted desktop and a
// fake view as a user would.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "engine/transform_settings.h"
#include "mainwindow/main_window.h"
#include "mainwindow/saved_settings.h"
#include "ntv2/grid_choice.h"
#include "params/options_dialog.h"
#include "tests/support/support.h"
#include "ui/testing/fake_view.h"
#include "ui/testing/scripted_desktop.h"

namespace tarvo::mainwindow {

using MW = MainTransformDialog;

// Its members are public, so that the cases of a table can arrange them.
class MainWindowTest : public ::testing::Test {
 public:
  // Writes a tarvo_prm.dat of the window's defaults under `method`.
  void SaveDefaults(engine::AccuracyMethod method) {
    engine::TransformSettings saved;
    saved.accuracyMethod = method;
    testing::WriteFile(folder / "tarvo_prm.dat",
                       FormatSavedSettings(WindowTexts{}, saved, ntv2::GridChoice{}));
  }

  // A first start: the options dialog comes first and Medium Accuracy is chosen there.
  void QueueMediumAccuracyOptions() {
    desktop.QueueModal([](ui::testing::FakeView& view) {
      view.Click(params::OptionsDialog::kMediumAccuracy);
      view.Click(params::OptionsDialog::kOk);
    });
  }

  // Builds the window (loading the saved settings) and shows it.
  void Open() {
    view.reset();  // a window opened again: the old view goes before its window
    window = std::make_unique<MW>(desktop, settings, grid, folder.path());
    view = std::make_unique<ui::testing::FakeView>(*window);
    view->Open();
  }

  const WindowTexts& texts() const { return window->texts(); }

  testing::TempDir folder;
  ui::testing::ScriptedDesktop desktop;
  engine::TransformSettings settings;
  ntv2::GridChoice grid;
  std::unique_ptr<MW> window;
  std::unique_ptr<ui::testing::FakeView> view;
};

}  // namespace tarvo::mainwindow
