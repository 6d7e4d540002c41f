// The file conversion dialog as real widgets: the preview of a small CSV and the field list
// it sizes, a layout whose controls neither overlap nor cut their texts, the output chooser
// taking a file that does not exist yet, and a run whose progress bar ends full. Leaves a
// screenshot of the dialog with its preview.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "fileconv/file_conversion_dialog.h"
#include "fileconv/output_contents_dialog.h"
#include "tests/gui/gui_support.h"
#include "tests/support/support.h"
#include "ui/qt/dialog_window.h"
#include "ui/qt/qt_desktop.h"

namespace tarvo::fileconv {
namespace {

using Dlg = FileConversionDialog;

class FileConversionDialogGuiTest : public ::testing::Test {
 protected:
  FileConversionDialogGuiTest()
      : dialog(desktop, transform, grid, interpolator, batch, folder.path()),
        window(dialog, desktop, nullptr) {
    transform.accuracyMethod = engine::AccuracyMethod::Medium;
    tarvo::testing::WriteFile(folder / "in.csv",
                              "Id,East,North,Height\n"
                              "P1,379185.968,6359970.566,12.5\n"
                              "P2,380000.000,6360000.000,20.0\n"
                              "P3,380500.000,6360500.000,31.2\n");
    tarvo::testing::WriteFile(
        folder / "tarvofile.dat",
        "AGD/AMG\nGDA/MGA\n56\n56\nEast, North, (Height)\n" + (folder / "in.csv").string() +
            "\nEast, North, (Height)\n" + (folder / "out.csv").string() +
            "\nCSV - Comma Separated\nEast Field\nNorth Field\n2\n3\nHeight Field\n4\n1\n");
    EXPECT_TRUE(tarvo::testing::ShowActive(dialog, window));
  }
  template <class W>
  W* Widget(int id) {
    return tarvo::testing::ControlAs<W>(window, id);
  }

  tarvo::testing::TempDir folder;
  engine::TransformSettings transform;
  ntv2::GridChoice grid;
  ntv2::GridInterpolator interpolator;
  BatchValues batch;
  ui::qt::QtDesktop desktop;
  Dlg dialog;
  ui::qt::DialogWindow window;
};

// The widest line of a text, in the widget's font.
int TextWidth(const QWidget& widget, const QString& text) {
  int widest = 0;
  for (const QString& line : text.split(QLatin1Char('\n'))) {
    widest = std::max(widest, widget.fontMetrics().horizontalAdvance(line));
  }
  return widest;
}

TEST_F(FileConversionDialogGuiTest, PreviewSizesTheFieldListsInATidyLayout) {
  Widget<QPlainTextEdit>(Dlg::kPreview)->setFocus();
  EXPECT_EQ(Widget<QPlainTextEdit>(Dlg::kPreview)->toPlainText(),
            "P1,379185.968,6359970.566,12.5\nP2,380000.000,6360000.000,20.0\n"
            "P3,380500.000,6360500.000,31.2\n");
  auto* first = Widget<QComboBox>(Dlg::kFirstField);
  first->setFocus();
  EXPECT_EQ(Widget<QPlainTextEdit>(Dlg::kHelp)->toPlainText(),
            "Select the field number that contains the Easting coordinate\nThe left most field "
            "is 1");
  ASSERT_EQ(first->count(), 4) << "fields 1 to 4 of the previewed line";
  EXPECT_EQ(first->currentText(), "2");
  tarvo::testing::SaveScreenshot(&window, "file_conversion_dialog_preview");

  // Every control inside the window, none over another, every text in its box.
  std::vector<std::pair<int, QRect>> boxes;
  for (const ui::ControlTemplate& control : dialog.Controls()) {
    QWidget* widget = window.ControlWidget(control.id);
    if (widget == nullptr || !widget->isVisible()) continue;
    const QRect box = widget->geometry();
    EXPECT_TRUE(window.rect().contains(box)) << control.accessibleName;
    if (qobject_cast<QGroupBox*>(widget) != nullptr) continue;
    for (const auto& [other, otherBox] : boxes) {
      EXPECT_FALSE(box.intersects(otherBox)) << "control " << control.id << " over " << other;
    }
    boxes.emplace_back(control.id, box);
    if (auto* label = qobject_cast<QLabel*>(widget)) {
      EXPECT_LE(TextWidth(*label, label->text()), box.width()) << label->text().toStdString();
      const int lines = static_cast<int>(label->text().count(QLatin1Char('\n'))) + 1;
      EXPECT_LE(lines * label->fontMetrics().lineSpacing(), box.height())
          << label->text().toStdString();
    } else if (auto* button = qobject_cast<QPushButton*>(widget)) {
      EXPECT_LE(TextWidth(*button, button->text().remove(QLatin1Char('&'))) + 8, box.width())
          << button->text().toStdString();
    } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
      // The drop-down arrow takes about 20 pixels.
      for (int i = 0; i < combo->count(); ++i) {
        EXPECT_LE(TextWidth(*combo, combo->itemText(i)) + 24, box.width())
            << combo->itemText(i).toStdString();
      }
      EXPECT_LE(TextWidth(*combo, combo->placeholderText()) + 24, box.width());
    }
  }
  // The longest texts the read-only fields show.
  for (const auto& [id, text] :
       {std::pair{Dlg::kParameterDescription, "Regional N.Territory --> AGD66<>GDA"},
        std::pair{Dlg::kInputFormatNote, "Input Latitude & Longitude format DDD.MMSSsssss"},
        std::pair{Dlg::kMethod, "High Accuracy - NTv2"},
        std::pair{Dlg::kSecondFieldLabel, "Longitude Field"}}) {
    QWidget* shown = window.ControlWidget(id);
    ASSERT_NE(shown, nullptr);
    EXPECT_LE(TextWidth(*shown, QString::fromLatin1(text)) + 8, shown->width()) << text;
  }
}

TEST_F(FileConversionDialogGuiTest, OutputChooserTakesAFileThatDoesNotExistYet) {
  const QString path = QString::fromStdString((folder / "new output.csv").string());
  tarvo::testing::WhenModal<QFileDialog>([&path](QFileDialog* chooser) {
    // A chooser for a file that need not exist yet. It reads its folder in the background:
    // the name typed is its selection once that has settled, and its Open button (accept())
    // may be ignored while the reading runs, so the dialog is ended as accepted if it is
    // still open after the click.
    EXPECT_EQ(chooser->fileMode(), QFileDialog::AnyFile);
    chooser->selectFile(path);
    QElapsedTimer waited;
    waited.start();
    while (chooser->selectedFiles() != QStringList{path} && !waited.hasExpired(10000)) {
      QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    EXPECT_EQ(chooser->selectedFiles(), QStringList{path});
    static_cast<QDialog*>(chooser)->accept();
    if (chooser->isVisible()) static_cast<QDialog*>(chooser)->done(QDialog::Accepted);
  });
  Widget<QPushButton>(Dlg::kGetOutputFile)->click();
  EXPECT_EQ(Widget<QLineEdit>(Dlg::kOutputFile)->text(), path);
}

TEST_F(FileConversionDialogGuiTest, CalculateRunsWithTheProgressBarEndingFull) {
  tarvo::testing::WhenModal<ui::qt::DialogWindow>([](ui::qt::DialogWindow* contents) {
    qobject_cast<QRadioButton*>(contents->ControlWidget(OutputContentsDialog::kWithInput))->click();
    qobject_cast<QPushButton*>(contents->ControlWidget(OutputContentsDialog::kStart))->click();
  });
  Widget<QPushButton>(Dlg::kCalculate)->click();
  EXPECT_EQ(Widget<QPlainTextEdit>(Dlg::kPreview)->toPlainText(),
            "\n     Total of 3 coordinates have been converted");
  auto* bar = Widget<QProgressBar>(Dlg::kProgress);
  EXPECT_EQ(bar->maximum(), static_cast<int>(std::filesystem::file_size(folder / "in.csv")));
  EXPECT_EQ(bar->value(), bar->maximum());
  EXPECT_NE(tarvo::testing::ReadFile(folder / "out.csv")
                .find("P1,379185.968,6359970.566,12.5,379291.796,6360161.142,"),
            std::string::npos);
  tarvo::testing::SaveScreenshot(&window, "file_conversion_dialog_after_run");
}

// Through the real windows: the overwrite question and the output contents question come
// before anything is written, and "&Cancel" writes nothing. A pipe as the input is refused
// in the preview at once.
TEST_F(FileConversionDialogGuiTest, CancelLeavesTheOldOutputAndAPipeIsRefused) {
  tarvo::testing::WriteFile(folder / "out.csv", "the earlier output\n");
  std::string seen;
  tarvo::testing::WhenModal<QMessageBox>([&](QMessageBox* question) {
    EXPECT_EQ(question->windowTitle(), "File Exists Overwrite");
    tarvo::testing::WhenModal<ui::qt::DialogWindow>([&](ui::qt::DialogWindow* contents) {
      seen = tarvo::testing::ReadFile(folder / "out.csv");
      qobject_cast<QPushButton*>(contents->ControlWidget(OutputContentsDialog::kCancel))->click();
    });
    question->button(QMessageBox::Yes)->click();
  });
  Widget<QPushButton>(Dlg::kCalculate)->click();
  EXPECT_EQ(seen, "the earlier output\n");
  EXPECT_EQ(tarvo::testing::ReadFile(folder / "out.csv"), "the earlier output\n");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()),
                          std::filesystem::directory_iterator()),
            3)
      << "in.csv, tarvofile.dat, out.csv: no temporary file";

  ASSERT_EQ(::mkfifo((folder / "in.pipe").c_str(), 0600), 0);
  QApplication::setActiveWindow(&window);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  auto* input = Widget<QLineEdit>(Dlg::kInputFile);
  input->setFocus();
  input->setText(QString::fromStdString((folder / "in.pipe").string()));
  Widget<QPlainTextEdit>(Dlg::kPreview)->setFocus();
  EXPECT_EQ(Widget<QPlainTextEdit>(Dlg::kPreview)->toPlainText().toStdString(),
            "\n     ERROR - File (" + (folder / "in.pipe").string() + ") does not exist\n     " +
                (folder / "in.pipe").string() + " is not a regular file");
  tarvo::testing::SaveScreenshot(&window, "file_conversion_dialog_pipe_refused");
}

}  // namespace
}  // namespace tarvo::fileconv

namespace tarvo::fileconv {
namespace {

// MGA2020 offered and chosen as the output system of the real dialog: the run takes AMG84
// through GDA94 to MGA2020 and its header names the GDA2020 step. Leaves a screenshot.
TEST_F(FileConversionDialogGuiTest, ConvertsToMga2020ChosenFromTheList) {
  auto* output = Widget<QComboBox>(Dlg::kOutputSystem);
  const int index = output->findText("MGA2020");
  ASSERT_GE(index, 0) << "MGA2020 is offered";
  output->setCurrentIndex(index);
  emit output->activated(index);
  tarvo::testing::WhenModal<ui::qt::DialogWindow>([](ui::qt::DialogWindow* contents) {
    qobject_cast<QRadioButton*>(contents->ControlWidget(OutputContentsDialog::kWithInput))->click();
    qobject_cast<QPushButton*>(contents->ControlWidget(OutputContentsDialog::kStart))->click();
  });
  Widget<QPushButton>(Dlg::kCalculate)->click();
  const std::string written = tarvo::testing::ReadFile(folder / "out.csv");
  EXPECT_NE(written.find("GDA2020 by 7 parameters (conformal, no distortion)\n"), std::string::npos)
      << written;
  EXPECT_NE(written.find("Transformation of AGD/AMG Zone 56 to MGA2020 Zone 56"),
            std::string::npos);
  EXPECT_NE(written.find("P1,379185.968,6359970.566,12.5,379292.292,6360162.550,"),
            std::string::npos)
      << written;
  tarvo::testing::SaveScreenshot(&window, "file_conversion_dialog_mga2020");
}

}  // namespace
}  // namespace tarvo::fileconv
