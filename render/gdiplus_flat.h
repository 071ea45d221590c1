#pragma once
// GDI+ through its flat C API only; the C++ wrapper classes are not used.
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

using namespace Gdiplus::DllExports;
using Gdiplus::GpBitmap;
using Gdiplus::GpGraphics;
using Gdiplus::GpImage;
using Gdiplus::GpPen;
using Gdiplus::GpStatus;
