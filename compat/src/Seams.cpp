#include "compat/Seams.h"
#include "Failures.h"

#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace {

struct ForcedFailure {
    HRESULT result = 0;
    int times = 0;
};

// Platform operations may be reached from the audio thread, so the table is locked.
std::mutex failureLock;
std::map<std::string, ForcedFailure, std::less<>> failures;

std::vector<std::function<void()>>& ResetHooks() {
    static std::vector<std::function<void()>> hooks;
    return hooks;
}

} // namespace

namespace compat {

bool TakeForcedFailure(std::string_view operation, HRESULT* result) {
    std::lock_guard<std::mutex> guard(failureLock);
    auto found = failures.find(operation);
    if (found == failures.end() || found->second.times <= 0)
        return false;
    if (result)
        *result = found->second.result;
    if (--found->second.times == 0)
        failures.erase(found);
    return true;
}

} // namespace compat

namespace compat::seams {

void FailNext(std::string_view operation, HRESULT result, int times) {
    std::lock_guard<std::mutex> guard(failureLock);
    if (times <= 0) {
        failures.erase(std::string(operation));
        return;
    }
    failures[std::string(operation)] = ForcedFailure{result, times};
}

int PendingFailures(std::string_view operation) {
    std::lock_guard<std::mutex> guard(failureLock);
    auto found = failures.find(operation);
    return found == failures.end() ? 0 : found->second.times;
}

void ClearFailures() {
    std::lock_guard<std::mutex> guard(failureLock);
    failures.clear();
}

void AddResetHook(std::function<void()> hook) {
    ResetHooks().push_back(std::move(hook));
}

void ResetAll() {
    UseRealTicks();
    UseRealSystemTime();
    ClearFailures();
    for (auto& hook : ResetHooks())
        hook();
}

} // namespace compat::seams
