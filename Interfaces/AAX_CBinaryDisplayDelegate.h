// On/off displays are not part of this library; this header completes the set of
// display headers a client may include.
#pragma once

#include "AAX_IDisplayDelegate.h"
