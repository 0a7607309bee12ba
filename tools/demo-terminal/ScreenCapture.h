// Screenshots of the session: the screen's pixels read back through GDI and saved as PNG.
#pragma once

#include <windows.h>

#include <string>

// Captures the part of the screen inside area (screen coordinates, clipped to the screen) and
// writes it to path as a PNG; false with *error when nothing could be captured or written.
bool SaveScreenPng(const RECT& area, const std::wstring& path, std::wstring* error);
