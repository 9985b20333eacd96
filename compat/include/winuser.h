// Windowing and input: window class and window, messages, cursor, key state.
#pragma once

#include "windef.h"
