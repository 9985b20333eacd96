// DirectDraw 7: display mode, flip chain, clipper, blits, surface device contexts and locks.
#pragma once

#include "windows.h"
