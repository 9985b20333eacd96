#pragma once

#include <cstddef>

// The game log's folder, made if need be, and the game log tried for writing, before the game
// opens its logs. A start that cannot write its log cannot tell the player anything there: this
// says instead what could not be written, where and why, in the system's own words ("cannot
// write logs/GameLog.txt in /home/ann/quibbo: Permission denied"). An existing log is opened
// for appending and left as it is; nothing is written.
bool PrepareLogFolder(char* reason, size_t size);
