#pragma once

#include "probe_protocol.hpp"

#include <optional>

// Asks the target itself, through the hook library planted in it, what cannot be read from
// outside: fonts and image sizes. Empty when the question could not be put (library missing,
// target of another bitness so the hook never runs there, target frozen); otherwise the reply,
// whose `found` says whether the window has such a thing at all.
std::optional<ProbeBlock> askTarget(HWND hwnd, ProbeKind kind, bool& hung);
