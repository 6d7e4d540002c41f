// Layering fixture: Qt outside ui/qt and app.
#include <QWidget>
