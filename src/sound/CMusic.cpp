#include "sound/CMusic.h"

#include "log/CLog.h"

#include <objbase.h>

CLog& CMusic::Log() {
    // Without a log the messages are dropped: a closed log writes nothing.
    static CLog none;
    return log ? *log : none;
}

void CMusic::Release() {
    if (segments) {
        Log().Write("CMUSIC --- NOTICE --- Releasing %d segments...", segmentCount);
        for (int32_t i = 0; i < segmentCount; ++i) {
            MusicSegmentRecord& record = segments[i];
            if (record.segment) {
                record.segment->Release();
                record.segment = nullptr;
            }
            if (record.segmentState) {
                record.segmentState->Release();
                record.segmentState = nullptr;
            }
        }
        Log().Write("CMUSIC --- NOTICE --- Released %d segments", segmentCount);
        delete[] segments;
        segments = nullptr;
        segmentCount = 0;
    }
    if (loader) {
        loader->Release();
        loader = nullptr;
        Log().Write("CMUSIC --- NOTICE --- DirectMusic Loader released");
    }
    if (performance) {
        performance->CloseDown();
        performance->Release();
        performance = nullptr;
        Log().Write("CMUSIC --- NOTICE --- DirectMusic Performance released");
    }
    CoUninitialize();
    Log().Write("CMUSIC --- NOTICE --- COM Uninitialized");
    Log().Write("CMUSIC --- NOTICE --- Shutting down log");
    if (log) {
        log->Close();
        delete log;
        log = nullptr;
    }
}
