#pragma once
#include <objbase.h>

// COM in a single-threaded apartment for the UI thread's lifetime, for the
// WIC objects the cover is scaled with; left alone when the thread already
// had another apartment, and ended once on every exit path.
class ComSession {
public:
    ComSession() : started(SUCCEEDED(CoInitializeEx(NULL, COINIT_APARTMENTTHREADED))) {}
    ~ComSession()
    {
        if (started)
            CoUninitialize();
    }
    ComSession(const ComSession&) = delete;
    ComSession& operator=(const ComSession&) = delete;

private:
    bool started;
};
