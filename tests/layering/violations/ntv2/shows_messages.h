// Layering fixture: a header below the chain that shows messages.
#include "ui/desktop.h"
