// DirectSound: one secondary buffer per sound effect, with frequency, volume and pan.
#pragma once

#include "windows.h"
