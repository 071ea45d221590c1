#pragma once
#include "cover/container_reader.h"

// ASF (WMA, WMV): the "WM/Picture" attributes of the Extended Content
// Description object and of the Metadata Library object inside the Header
// Extension object, where pictures over 64 KB live. The first front cover
// (picture type 3) wins, else the first picture, in the header's order.
extern const ContainerReader ASF_READER;
