#include "tests/gui/gui_support.h"

#include <QDir>
#include <QPixmap>
#include <QTest>

namespace tarvo::testing {

bool ShowActive(ui::Dialog& dialog, QWidget& window) {
  dialog.Show();
  window.show();
  QApplication::setActiveWindow(&window);
  return QTest::qWaitForWindowActive(&window);
}

std::string SaveScreenshot(QWidget* widget, const std::string& name) {
  QDir().mkpath(QStringLiteral("screenshots"));
  const QString path =
      QStringLiteral("screenshots/") + QString::fromStdString(name) + QStringLiteral(".png");
  widget->grab().save(path);
  return QDir(path).absolutePath().toStdString();
}

}  // namespace tarvo::testing
