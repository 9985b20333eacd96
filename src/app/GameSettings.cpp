// The settings file and the control keys: reading and writing "quibbo.ini", the key-down
// handler with the pause and key redefinition, and the names of keys.
#include "app/CGame.h"
#include "app/KeyNames.h"

#include <cstdio>

namespace {

// Reads up to `size` bytes of a little-endian number into the low bytes of `value`, in order;
// bytes beyond the end of the file leave the value's bytes as they were.
void ReadLittleEndian(FILE* file, int32_t* value, int size) {
    auto bits = static_cast<uint32_t>(*value);
    for (int i = 0; i < size; ++i) {
        const int byte = fgetc(file);
        if (byte == EOF)
            break;
        bits = (bits & ~(0xFFu << (8 * i))) | (static_cast<uint32_t>(byte) << (8 * i));
    }
    *value = static_cast<int32_t>(bits);
}

void WriteLittleEndian(FILE* file, int32_t value, int size) {
    const auto bits = static_cast<uint32_t>(value);
    for (int i = 0; i < size; ++i)
        fputc(static_cast<int>((bits >> (8 * i)) & 0xFF), file);
}

} // namespace

void CGame::ReadSettings(const char* name) {
    FILE* file = fopen(name, "rb");
    if (!file) {
        WriteSettings(name);
        return;
    }
    for (int32_t& key : keyCodes)
        ReadLittleEndian(file, &key, 1);
    ReadLittleEndian(file, &width, 4);
    ReadLittleEndian(file, &height, 4);
    ReadLittleEndian(file, &bitDepth, 4);
    fclose(file);
}

void CGame::WriteSettings(const char* name) {
    FILE* file = fopen(name, "wb");
    if (!file)
        return;
    for (int32_t key : keyCodes)
        WriteLittleEndian(file, key, 1);
    WriteLittleEndian(file, width, 4);
    WriteLittleEndian(file, height, 4);
    WriteLittleEndian(file, bitDepth, 4);
    fclose(file);
}

void CGame::OnKeyDown(int32_t key) {
    if (key == VK_PAUSE)
        TogglePause();
    if (state == CustomLevel) {
        OnCustomLevelKey(key);
        return;
    }
    if (state == Controls && redefineKey) {
        // Every key is taken, named or not.
        *redefineKey = key;
        NameKey(redefineIndex, key);
        ForgetRedefinition();
    }
}

// No key slot waits for a key any more.
void CGame::ForgetRedefinition() {
    redefineKey = nullptr;
    redefineIndex = -1;
}

// Every key has a name, the same whether it was chosen now or read from the settings.
void CGame::NameKey(int slot, int32_t key) {
    NameKeyCode(key, keyNames[slot], sizeof(keyNames[slot]));
}
