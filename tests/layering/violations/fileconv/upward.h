// Layering fixture: a lower layer uses a higher one.
#include "mainwindow/main_window.h"
