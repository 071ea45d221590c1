#pragma once
#include "state/host_protocol.h"

// The two callbacks GetGPluginInfo hands the host.
BOOL WINAPI OnHostEvent(HWND hostWindow, int event);
BOOL WINAPI OnHostMessage(const MSG* msg);
