#pragma once
#include "host/host_protocol.h"

extern const PluginInfo pluginInfo;

BOOL WINAPI OnHostEvent(HWND hostWindow, int event);
BOOL WINAPI OnHostMessage(const MSG* msg);
