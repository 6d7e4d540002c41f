// The conversion dialog as real widgets: every cell shows its text in full and can be
// selected for copying, and Return closes it. Leaves a screenshot.
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "angles/angle_conversion_dialog.h"
#include "tests/gui/gui_support.h"
#include "ui/qt/dialog_window.h"
#include "ui/qt/qt_desktop.h"

namespace tarvo::angles {
namespace {

using Dlg = AngleConversionDialog;

TEST(AngleConversionDialogGui, ShowsEveryCellInFullAndReturnCloses) {
  ui::qt::QtDesktop desktop;
  // The widest texts the main window gives: five decimals of seconds, three-digit degrees.
  Dlg dialog(desktop, " 43\xB0 38' 59.99999\"", " 153\xB0 38' 59.99999\"", " 43\xB0 38' 54.32109\"",
             " 153\xB0 38' 54.32109\"", "AGD/AMG Zone 56", "GDA/MGA Zone 56");
  ui::qt::DialogWindow window(dialog, desktop, nullptr);
  ASSERT_TRUE(tarvo::testing::ShowActive(dialog, window));

  for (int column = 0; column < Dlg::kColumns; ++column) {
    for (int row = 0; row < Dlg::kRows; ++row) {
      auto* cell = qobject_cast<QLineEdit*>(window.ControlWidget(Dlg::CellId(row, column)));
      ASSERT_NE(cell, nullptr);
      EXPECT_TRUE(cell->isReadOnly());
      // The text fits inside the frame (about 4 px each side): nothing scrolls out of view.
      const int textWidth = QFontMetrics(cell->font()).horizontalAdvance(cell->text());
      EXPECT_LE(textWidth, cell->width() - 10)
          << "row " << row + 1 << ", column " << column + 1 << ": " << cell->text().toStdString();
    }
  }
  auto* packed = qobject_cast<QLineEdit*>(window.ControlWidget(Dlg::CellId(1, 0)));
  EXPECT_EQ(packed->text(), "-43.385999999");
  packed->setFocus();
  packed->selectAll();
  EXPECT_EQ(packed->selectedText(), "-43.385999999") << "a cell can be selected for copying";
  tarvo::testing::SaveScreenshot(&window, "angle_conversion_dialog");

  QTest::keyClick(packed, Qt::Key_Return);
  EXPECT_TRUE(dialog.closed()) << "Enter presses Return";
}

}  // namespace
}  // namespace tarvo::angles
