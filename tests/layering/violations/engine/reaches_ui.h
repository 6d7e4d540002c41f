// Layering fixture: the engine shows no messages.
#include "ui/desktop.h"
