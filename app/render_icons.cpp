// Build step: renders the program's emblem as the icons that are installed with it, a
// scalable SVG and PNGs at the common sizes, into the folder given.
#include <QGuiApplication>
#include <cstdio>
#include <fstream>
#include <string>

#include "mainwindow/artwork.h"
#include "ui/qt/painting.h"
#include "ui/svg.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT-FOLDER\n", argv[0]);
    return 2;
  }
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication application(argc, argv);
  const std::string folder = argv[1];

  tarvo::ui::DisplayList scalable;
  tarvo::mainwindow::DrawEmblem(scalable, 0, {0, 0, 256, 256});
  std::ofstream(folder + "/tarvo.svg") << tarvo::ui::SvgDocument(scalable, 256, 256);

  const auto emblem = [](tarvo::ui::DisplayList& display, const tarvo::ui::PixelRect& box) {
    tarvo::mainwindow::DrawEmblem(display, 0, box);
  };
  for (const int size : tarvo::ui::qt::kIconSizes) {
    const std::string path = folder + "/tarvo-" + std::to_string(size) + ".png";
    if (!tarvo::ui::qt::RenderImage(emblem, size).save(QString::fromStdString(path))) {
      std::fprintf(stderr, "cannot write %s\n", path.c_str());
      return 1;
    }
  }
  return 0;
}
