// The parameters dialog as real widgets: the list, the Use buttons, typing into the user's
// column (with its 28-character limit), the refusal of an unusable ellipsoid in a real message
// box, and Save. Leaves screenshots of the opened and the edited dialog.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "params/parameters_dialog.h"
#include "tests/gui/gui_support.h"
#include "tests/support/support.h"
#include "ui/qt/dialog_window.h"
#include "ui/qt/qt_desktop.h"

namespace tarvo::params {
namespace {

using Dlg = ParametersDialog;

class ParametersDialogGuiTest : public ::testing::Test {
 protected:
  ParametersDialogGuiTest()
      : dialog(desktop, settings, folder.path()), window(dialog, desktop, nullptr) {
    EXPECT_TRUE(tarvo::testing::ShowActive(dialog, window));
  }
  template <class W>
  W* Widget(int id) {
    return tarvo::testing::ControlAs<W>(window, id);
  }
  void TypeInto(int id, const QString& text) {
    auto* edit = Widget<QLineEdit>(id);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, text);
    QTest::keyClick(edit, Qt::Key_Tab);
  }

  tarvo::testing::TempDir folder;
  engine::TransformSettings settings;
  ui::qt::QtDesktop desktop;
  Dlg dialog;
  ui::qt::DialogWindow window;
};

TEST_F(ParametersDialogGuiTest, OpensOnNationalAndSavesTheChosenPreset) {
  auto* list = Widget<QComboBox>(Dlg::kPresetList);
  EXPECT_EQ(list->currentText(), "National  -->  AGD84<>GDA");
  EXPECT_EQ(list->currentIndex(), -1);
  EXPECT_EQ(Widget<QLineEdit>(Dlg::PresetField(2))->text(), "-117.763");
  EXPECT_TRUE(Widget<QLineEdit>(Dlg::PresetField(2))->isReadOnly());
  EXPECT_EQ(Widget<QPlainTextEdit>(Dlg::kPresetLabel)->toPlainText(), "National\nAGD84<>GDA");
  EXPECT_TRUE(Widget<QRadioButton>(Dlg::kUsePreset)->isChecked());
  tarvo::testing::SaveScreenshot(&window, "parameters_dialog_opened");

  list->setFocus();
  EXPECT_EQ(Widget<QPlainTextEdit>(Dlg::kHint)->toPlainText(),
            "Select National when tansforming from AMG84\nRegional if from AGD66");
  list->showPopup();
  ASSERT_EQ(list->count(), 5);
  list->hidePopup();
  list->setCurrentIndex(4);
  emit list->activated(4);
  EXPECT_EQ(Widget<QLineEdit>(Dlg::PresetField(2))->text(), "-124.133");
  EXPECT_EQ(Widget<QLineEdit>(Dlg::kPresetListCopy)->text(),
            "Regional N.Territory -->  AGD66<>GDA");
  tarvo::testing::SaveScreenshot(&window, "parameters_dialog_preset_chosen");

  Widget<QPushButton>(Dlg::kSave)->click();
  EXPECT_TRUE(dialog.closed());
  EXPECT_EQ(settings.parameterSet, 4);
  EXPECT_EQ(settings.shiftX, "-124.133");
}

TEST_F(ParametersDialogGuiTest, TypedUserValuesAreLimitedCheckedAndSaved) {
  TypeInto(Dlg::UserField(0), "6378160.123456789012345678901234");
  EXPECT_EQ(Widget<QLineEdit>(Dlg::UserField(0))->text(), "6378160.12345678901234567890")
      << "the edit takes 28 characters";
  TypeInto(Dlg::UserField(1), "0.0033528");
  auto* user = Widget<QRadioButton>(Dlg::kUseUserDefined);
  user->click();
  EXPECT_TRUE(user->isChecked());
  EXPECT_FALSE(Widget<QRadioButton>(Dlg::kUsePreset)->isChecked());
  tarvo::testing::SaveScreenshot(&window, "parameters_dialog_user_defined");

  QString refusal;
  tarvo::testing::WhenModal<QMessageBox>([&refusal](QMessageBox* box) {
    refusal = box->text();
    box->button(QMessageBox::Ok)->click();
  });
  Widget<QPushButton>(Dlg::kSave)->click();
  EXPECT_EQ(refusal, "Invalid Inverse Flattening: 0.0033528\nMust be a number greater than 1");
  EXPECT_FALSE(dialog.closed());

  // Offscreen, no window becomes active by itself when the message box closes.
  QApplication::setActiveWindow(&window);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  TypeInto(Dlg::UserField(1), "298.25");
  auto* save = Widget<QPushButton>(Dlg::kSave);
  Widget<QLineEdit>(Dlg::UserField(8))->setFocus();
  QTest::keyClick(Widget<QLineEdit>(Dlg::UserField(8)), Qt::Key_End);
  QTest::keyClicks(Widget<QLineEdit>(Dlg::UserField(8)), "7");
  QTest::keyClick(Widget<QLineEdit>(Dlg::UserField(8)), Qt::Key_Return);
  EXPECT_TRUE(save->isDefault());
  ASSERT_TRUE(dialog.closed()) << "Enter presses Save";
  EXPECT_EQ(settings.parameterSet, engine::kUserDefinedParameterSet);
  EXPECT_EQ(settings.semiMajorAxis, "6378160.12345678901234567890");
  EXPECT_EQ(settings.scalePpm, "-0.1917") << "the field being edited is handed over first";
  EXPECT_EQ(tarvo::testing::ReadFile(folder / "Tarvo.var"),
            "6378160.12345678901234567890\n298.25\n-117.763\n-51.510\n139.061\n-0.292\n"
            "-0.443\n-0.277\n-0.1917\n");
}

}  // namespace
}  // namespace tarvo::params
