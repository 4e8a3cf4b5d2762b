// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qx::cli {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

// A usage error: what is wrong, and where to read more (the command's help when command names
// one, else the usage); the whole usage would bury the one line that matters. Returns
// kExitUsage.
int Usage(const std::string& problem, std::string_view command = {});

// A failure, shown with control characters made visible (failures often quote the server).
// Returns kExitFailure.
int Fail(const std::string& failure);

// Flushes standard output: empty when everything written to it got out, else why not.
std::string FlushOutput();

// What recursive requests left out or could not carry, one line each under a count
// ("3 entries were skipped:").
void ReportEntries(const std::vector<std::string>& entries, const char* one, const char* many);

} // namespace qx::cli
