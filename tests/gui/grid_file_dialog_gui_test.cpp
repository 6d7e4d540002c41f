// The grid file dialog as real widgets: every control inside the window and clear of the
// others, the extents readable in full, the list filled as it drops down, and the export
// moving the real progress bar. Leaves screenshots of the empty dialog, a grid's header and
// a finished export.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <memory>

#include "ntv2/grid_file_dialog.h"
#include "tests/gui/gui_support.h"
#include "tests/support/support.h"
#include "tests/support/synthetic_grid.h"
#include "ui/qt/dialog_window.h"
#include "ui/qt/qt_desktop.h"

namespace tarvo::ntv2 {
namespace {

using Dlg = GridFileDialog;

class GridFileDialogGui : public ::testing::Test {
 protected:
  GridFileDialogGui() { std::filesystem::create_directory(folder / "data"); }

  void Open() {
    dialog = std::make_unique<Dlg>(desktop, grid, folder.path());
    window = std::make_unique<ui::qt::DialogWindow>(*dialog, desktop, nullptr);
    ASSERT_TRUE(tarvo::testing::ShowActive(*dialog, *window));
  }
  template <class W>
  W* Widget(int id) {
    return tarvo::testing::ControlAs<W>(*window, id);
  }
  // A grid over the whole continent, as the national grids are.
  std::string WriteGrid(const std::string& name) {
    const auto path = folder / "data" / name;
    tarvo::testing::WriteFile(
        path, ntv2::testing::GridBytes({{{"NSW_0701", "NONE", -158400, -36000, -554400, -396000,
                                          7200, 7200, ntv2::testing::ExactField{}.Nodes()}}},
                                       kCanadianLayout));
    return path.string();
  }
  void ExpectTidyLayout() {
    const QRect client = window->rect();
    std::vector<std::pair<int, QRect>> boxes;
    for (const ui::ControlTemplate& control : dialog->Controls()) {
      QWidget* widget = window->ControlWidget(control.id);
      ASSERT_NE(widget, nullptr) << control.caption;
      EXPECT_TRUE(client.contains(widget->geometry())) << "control " << control.id << " clipped";
      for (const auto& [id, box] : boxes) {
        EXPECT_FALSE(box.intersects(widget->geometry()))
            << "controls " << id << " and " << control.id << " overlap";
      }
      boxes.emplace_back(control.id, widget->geometry());
    }
    // Each text shows in full: nothing scrolls out of its field.
    for (const int id : {Dlg::kFormat, Dlg::kDatum, Dlg::kMaxLatitude, Dlg::kMinLatitude,
                         Dlg::kMaxLongitude, Dlg::kMinLongitude, Dlg::kSubGrid}) {
      auto* edit = Widget<QLineEdit>(id);
      EXPECT_LE(QFontMetrics(edit->font()).horizontalAdvance(edit->text()), edit->width() - 10)
          << edit->text().toStdString();
    }
  }

  tarvo::testing::TempDir folder;
  ui::qt::QtDesktop desktop;
  GridChoice grid;
  std::unique_ptr<Dlg> dialog;
  std::unique_ptr<ui::qt::DialogWindow> window;
};

TEST_F(GridFileDialogGui, OpensEmptyAndListsTheDataFolderWhenTheListDropsDown) {
  Open();
  auto* list = Widget<QComboBox>(Dlg::kFileList);
  EXPECT_EQ(list->currentText(), "Select File");
  EXPECT_EQ(Widget<QLineEdit>(Dlg::kFormat)->text(), "Grid Format");
  EXPECT_EQ(Widget<QLineEdit>(Dlg::kDatum)->text(), "AGD66/84");
  EXPECT_TRUE(Widget<QLineEdit>(Dlg::kMaxLatitude)->isReadOnly());
  EXPECT_EQ(Widget<QPushButton>(Dlg::kConvert)->text(), "Convert to &ASCII\n(Large Files)");
  ExpectTidyLayout();
  tarvo::testing::SaveScreenshot(window.get(), "grid_file_dialog_empty");

  list->showPopup();
  EXPECT_EQ(list->count(), 1);
  EXPECT_EQ(list->itemText(0), "No GSB Files");
  list->hidePopup();

  const std::string path = WriteGrid("A66_test.gsb");
  list->showPopup();
  ASSERT_EQ(list->count(), 1);
  EXPECT_EQ(list->itemText(0).toStdString(), path);
  list->hidePopup();
  std::vector<QString> boxes;
  tarvo::testing::WhenModal<QMessageBox>([&boxes](QMessageBox* box) {
    boxes.push_back(box->windowTitle() + ": " + box->text());
    box->button(QMessageBox::Ok)->click();
  });
  list->setCurrentIndex(0);
  emit list->activated(0);
  EXPECT_EQ(boxes, std::vector<QString>{"1: Number of Files"});
  EXPECT_EQ(Widget<QLineEdit>(Dlg::kFormat)->text(), "Canadian NTv2");
}

TEST_F(GridFileDialogGui, ShowsAStoredGridAndExportsItWithTheProgressBar) {
  grid.gridFilePath = WriteGrid("A66_test.gsb");
  Open();
  EXPECT_EQ(Widget<QComboBox>(Dlg::kFileList)->currentText().toStdString(), grid.gridFilePath);
  EXPECT_EQ(Widget<QLineEdit>(Dlg::kDatum)->text(), "AGD66");
  EXPECT_EQ(Widget<QLineEdit>(Dlg::kMaxLatitude)->text(), QString::fromUtf8("-44° 00' 00.000\""));
  EXPECT_EQ(Widget<QLineEdit>(Dlg::kMinLongitude)->text(), QString::fromUtf8("110° 00' 00.000\""));
  ExpectTidyLayout();
  tarvo::testing::SaveScreenshot(window.get(), "grid_file_dialog_header");

  QString completion;
  tarvo::testing::WhenModal<QMessageBox>([&completion](QMessageBox* box) {
    completion = box->windowTitle();
    box->button(QMessageBox::Ok)->click();
  });
  Widget<QPushButton>(Dlg::kConvert)->click();
  EXPECT_EQ(completion, "ASCII FILE COMPLETE");
  auto* bar = Widget<QProgressBar>(Dlg::kProgress);
  EXPECT_EQ(bar->maximum(), 18 * 23);
  EXPECT_EQ(bar->value(), bar->maximum());
  EXPECT_EQ(Widget<QLineEdit>(Dlg::kSubGrid)->text(), "SUB_NAMENSW_0701");
  QApplication::setActiveWindow(window.get());
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  ExpectTidyLayout();
  tarvo::testing::SaveScreenshot(window.get(), "grid_file_dialog_exported");

  Widget<QPushButton>(Dlg::kOk)->click();
  EXPECT_TRUE(dialog->closed());
  EXPECT_EQ(grid.gridMethod, GridMethod::GridFileAgd66);
}

}  // namespace
}  // namespace tarvo::ntv2

namespace tarvo::ntv2 {
namespace {

// The second grid beside the AGD grid, both headers shown. Leaves a screenshot.
TEST_F(GridFileDialogGui, ShowsTheGda2020GridBesideTheAgdGrid) {
  grid.gridFilePath = WriteGrid("A66_test.gsb");
  grid.gda2020GridPath = (folder / "GDA94_GDA2020_conformal.gsb").string();
  Open();
  EXPECT_EQ(Widget<QLineEdit>(Dlg::kDatum)->text(), "AGD66");
  EXPECT_EQ(Widget<QLineEdit>(Dlg::kGda2020Path)->text().toStdString(), grid.gda2020GridPath);
  EXPECT_EQ(Widget<QLineEdit>(Dlg::kGda2020Datums)->text(), "GDA94 -> GDA2020");
  ExpectTidyLayout();
  tarvo::testing::SaveScreenshot(window.get(), "grid_file_dialog_gda2020");
}

}  // namespace
}  // namespace tarvo::ntv2
