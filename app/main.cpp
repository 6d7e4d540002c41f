// Tarvo's desktop program: the main window, shown modally, is the whole program.
#include <QApplication>
#include <QFile>
#include <clocale>

#include "engine/transform_settings.h"
#include "mainwindow/artwork.h"
#include "mainwindow/help_text.h"
#include "mainwindow/main_window.h"
#include "ntv2/grid_choice.h"
#include "text/atomic_file.h"
#include "ui/os_services.h"
#include "ui/qt/painting.h"
#include "ui/qt/qt_desktop.h"

int main(int argc, char** argv) {
  // A Ctrl+C, SIGTERM or SIGHUP while a file is written leaves no temporary file behind.
  tarvo::text::InstallInterruptCleanup("tarvo");
  QApplication application(argc, argv);
  // QApplication takes the user's locale; numbers are always read and written in "C".
  std::setlocale(LC_NUMERIC, "C");
  QApplication::setApplicationName(QStringLiteral("Tarvo"));

  tarvo::ui::qt::QtDesktop desktop(tarvo::mainwindow::HelpText());
  desktop.SetWindowIcon(tarvo::ui::qt::RenderIcon(
      [](tarvo::ui::DisplayList& display, const tarvo::ui::PixelRect& box) {
        tarvo::mainwindow::DrawEmblem(display, 0, box);
      }));
  QApplication::setWindowIcon(desktop.windowIcon());

  tarvo::engine::TransformSettings settings;
  tarvo::ntv2::GridChoice grid;
  const auto startDirectory = tarvo::ui::WorkingDirectory().value_or(".");
  tarvo::mainwindow::MainTransformDialog window(desktop, settings, grid, startDirectory);
  window.SetProgramDirectory(
      QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString());
  desktop.RunModal(window);
  return 0;
}
