// Layering fixture: the converter uses no window.
#include "mainwindow/saved_settings.h"
