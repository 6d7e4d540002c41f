// The options dialog and the about box as real widgets: the method buttons and the format
// lists answer real clicks; screenshots of both are left in the build folder.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QComboBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "mainwindow/about_dialog.h"
#include "ntv2/grid_choice.h"
#include "params/options_dialog.h"
#include "tests/gui/gui_support.h"
#include "tests/support/support.h"
#include "ui/qt/dialog_window.h"
#include "ui/qt/qt_desktop.h"

namespace tarvo::params {
namespace {

using Dlg = OptionsDialog;

TEST(OptionsDialogGui, MethodButtonsAndFormatListsWorkThroughRealClicks) {
  testing::TempDir folder;
  engine::TransformSettings settings;
  ntv2::GridChoice grid;
  ui::qt::QtDesktop desktop;
  Dlg dialog(desktop, settings, grid, folder.path());
  ui::qt::DialogWindow window(dialog, desktop, nullptr);
  ASSERT_TRUE(tarvo::testing::ShowActive(dialog, window));

  auto* high = qobject_cast<QRadioButton*>(window.ControlWidget(Dlg::kHighAccuracy));
  auto* medium = qobject_cast<QRadioButton*>(window.ControlWidget(Dlg::kMediumAccuracy));
  EXPECT_TRUE(high->isChecked()) << "the default method is High Accuracy";
  QTest::mouseClick(medium, Qt::LeftButton);
  EXPECT_TRUE(medium->isChecked());
  EXPECT_FALSE(high->isChecked());
  QTest::mouseClick(medium, Qt::LeftButton);
  EXPECT_TRUE(high->isChecked()) << "a click on the selected method selects the other";

  auto* input = qobject_cast<QComboBox*>(window.ControlWidget(Dlg::kInputFormat));
  ASSERT_EQ(input->count(), 7);
  input->showPopup();
  QTest::qWait(QApplication::doubleClickInterval());
  QAbstractItemView* list = input->view();
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                    list->visualRect(list->model()->index(1, 0)).center());
  EXPECT_EQ(settings.inputFormat, "DDD MM SS.ssss") << "the choice takes effect at once";
  EXPECT_EQ(qobject_cast<QPlainTextEdit*>(window.ControlWidget(Dlg::kInputNote))->toPlainText(),
            "Not available for space\nseparated variable files.");

  auto* output = qobject_cast<QComboBox*>(window.ControlWidget(Dlg::kOutputFormat));
  ASSERT_EQ(output->count(), 8);
  EXPECT_EQ(output->itemText(0), QString::fromUtf8("DDD° MM' SS.ssss\""));
  testing::SaveScreenshot(&window, "options_dialog");

  QTest::mouseClick(medium, Qt::LeftButton);
  tarvo::testing::WhenModal<ui::qt::DialogWindow>([](ui::qt::DialogWindow* parameters) {
    EXPECT_EQ(parameters->windowTitle(), "GDA Transformation Parameters");
    QTest::keyClick(parameters, Qt::Key_Escape);
  });
  QTest::mouseClick(qobject_cast<QPushButton*>(window.ControlWidget(Dlg::kOk)), Qt::LeftButton);
  EXPECT_EQ(settings.accuracyMethod, engine::AccuracyMethod::Medium)
      << "OK sets the method even when the parameters dialog is cancelled";
  EXPECT_TRUE(dialog.closed());
}

TEST(AboutDialogGui, ShowsTheVersionAndClosesWithOk) {
  ui::qt::QtDesktop desktop;
  mainwindow::AboutDialog about(desktop);
  ui::qt::DialogWindow window(about, desktop, nullptr);
  about.Show();
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  EXPECT_EQ(window.windowTitle(), "About tarvo");
  testing::SaveScreenshot(&window, "about_box");
  QTest::mouseClick(qobject_cast<QPushButton*>(window.ControlWidget(mainwindow::AboutDialog::kOk)),
                    Qt::LeftButton);
  EXPECT_TRUE(about.closed());
}

}  // namespace
}  // namespace tarvo::params
