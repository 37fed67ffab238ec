#pragma once

#include <windows.h>

#include <string_view>

class JsonWriter;

UINT windowDpi(HWND hwnd);

// Each writes one JSON value (an object, an array or null) where the writer stands.
void writeFontValue(JsonWriter& json, HWND hwnd, bool& hung);
void writeFocusValue(JsonWriter& json, HWND window);
void writeChildrenValue(JsonWriter& json, HWND parent);

// Looks through all descendants, in Z-order, for "#ID" or for a label (with or without its '&').
// A shown control wins over a hidden one, as only that one can be clicked.
HWND findControl(HWND root, std::wstring_view which);
