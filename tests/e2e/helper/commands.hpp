#pragma once

#include <string>
#include <vector>

class JsonWriter;

enum ExitCode : int { kSuccess = 0, kNotMet = 1, kUsage = 2 };

// Thrown only for bad command lines; main turns it into exit code 2.
struct UsageError {
    std::wstring message;
};

// Runs one command with the arguments that follow its name and leaves exactly one JSON value in `json`.
ExitCode runCommand(const std::wstring& name, const std::vector<std::wstring>& args, JsonWriter& json);
