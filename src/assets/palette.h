#pragma once
#include <windows.h>

#include <cstdint>

// How many colour-table entries follow a bitmap header.
int32_t colourCount(const BITMAPINFOHEADER& header);

// The bytes of a named bitmap resource of `module`, or null; `size` receives their count.
const BYTE* bitmapResourceBytes(HINSTANCE module, const char* name, DWORD* size);
