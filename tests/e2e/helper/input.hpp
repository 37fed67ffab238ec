#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

// One step of a `keys` command, checked in full before anything is sent.
struct KeyStep {
    enum class Kind { Chord, Text, Sleep };
    Kind kind = Kind::Chord;
    std::vector<WORD> modifiers;
    WORD key = 0;
    std::wstring text;
    unsigned repeat = 1;
    unsigned sleepMs = 0;
};

// Returns nothing and fills `error` when the token is not understood.
std::optional<KeyStep> parseKeyStep(const std::wstring& token, std::wstring& error);
void sendKeySteps(const std::vector<KeyStep>& steps);

// Tries what a user's click would achieve, then the input-attach workaround; true if it took.
bool bringToForeground(HWND hwnd);

// Gives the window's process a moment to take in what was sent, so the next look sees the effect.
void waitUntilIdle(HWND window);

// Real button presses at a screen point, close enough in time and place to count as one multi-click.
void clickAt(POINT screen, int count);
