// On/off tapers are not part of this library; this header completes the set of taper
// headers a client may include.
#pragma once

#include "AAX_ITaperDelegate.h"
