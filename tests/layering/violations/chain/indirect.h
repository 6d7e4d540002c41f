// Layering fixture: the chain reaches ui through a header it includes.
#include "ntv2/shows_messages.h"
