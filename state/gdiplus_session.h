#pragma once
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

// GDI+ is started for the UI thread's lifetime and shut down once, on every exit path.
class GdiplusSession {
public:
    GdiplusSession()
    {
        Gdiplus::GdiplusStartupInput input;  // version 1, no debug callback, nothing suppressed
        started = Gdiplus::GdiplusStartup(&token, &input, NULL) == Gdiplus::Ok;
    }
    ~GdiplusSession()
    {
        if (started)
            Gdiplus::GdiplusShutdown(token);
    }
    GdiplusSession(const GdiplusSession&) = delete;
    GdiplusSession& operator=(const GdiplusSession&) = delete;

private:
    ULONG_PTR token = 0;
    bool started = false;
};
