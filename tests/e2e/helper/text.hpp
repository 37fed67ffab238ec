#pragma once

#include <optional>
#include <string>
#include <string_view>

std::string toUtf8(std::wstring_view utf16);
std::wstring fromUtf8(std::string_view utf8);

// Decimal, or hexadecimal with a 0x prefix; an optional leading minus. Rejects trailing junk.
std::optional<long long> parseInteger(std::wstring_view text);

bool equalsIgnoreCase(std::wstring_view a, std::wstring_view b);

// Button labels carry '&' mnemonic markers that a person never sees.
std::wstring stripMnemonics(std::wstring_view label);
