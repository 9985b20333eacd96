// Inside the platform layer: asks whether a test has forced the next call of an operation to fail.
#pragma once

#include <windows.h>

#include <string_view>

namespace compat {

// True when a failure of `operation` was forced; its result code is stored in `*result`
// (when given) and one forced failure is used up.
bool TakeForcedFailure(std::string_view operation, HRESULT* result = nullptr);

} // namespace compat
