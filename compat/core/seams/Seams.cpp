#include "compat/Seams.h"
#include "seams/Failures.h"

#include <atomic>
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
// Whether the table holds anything: the game asks for every blit, and mostly nothing is forced.
std::atomic<bool> anyFailures{false};

void NoteFailures() {
    anyFailures.store(!failures.empty(), std::memory_order_release);
}

std::vector<std::function<void()>>& ResetHooks() {
    static std::vector<std::function<void()>> hooks;
    return hooks;
}

} // namespace

namespace compat {

bool TakeForcedFailure(std::string_view operation, HRESULT* result) {
    if (!anyFailures.load(std::memory_order_acquire))
        return false;
    std::lock_guard<std::mutex> guard(failureLock);
    auto found = failures.find(operation);
    if (found == failures.end() || found->second.times <= 0)
        return false;
    if (result)
        *result = found->second.result;
    if (--found->second.times == 0)
        failures.erase(found);
    NoteFailures();
    return true;
}

} // namespace compat

namespace compat::seams {

void FailNext(std::string_view operation, HRESULT result, int times) {
    std::lock_guard<std::mutex> guard(failureLock);
    if (times <= 0) {
        failures.erase(std::string(operation));
        NoteFailures();
        return;
    }
    failures[std::string(operation)] = ForcedFailure{result, times};
    NoteFailures();
}

int PendingFailures(std::string_view operation) {
    std::lock_guard<std::mutex> guard(failureLock);
    auto found = failures.find(operation);
    return found == failures.end() ? 0 : found->second.times;
}

void ClearFailures() {
    std::lock_guard<std::mutex> guard(failureLock);
    failures.clear();
    NoteFailures();
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
