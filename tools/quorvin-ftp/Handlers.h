// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "CommandTable.h"

namespace qx::cli {

// The handlers of the command table, by group. Each gets its arguments counted and checks
// the rest itself, before anything connects.

// ListingHandlers.cpp
int RunDecodeListing(const CommandCall& call);
int RunLs(const CommandCall& call);

// TransferHandlers.cpp
int RunGet(const CommandCall& call);
int RunPut(const CommandCall& call);

// FileHandlers.cpp
int RunRm(const CommandCall& call);
int RunMkdir(const CommandCall& call);
int RunMv(const CommandCall& call);
int RunChmod(const CommandCall& call);

// QueueHandlers.cpp
int RunCopy(const CommandCall& call);
int RunQueue(const CommandCall& call);

// MirrorCommand.cpp
int RunMirror(const CommandCall& call);

// FindCommand.cpp
int RunFind(const CommandCall& call);

// SitesCommand.cpp
int RunSites(const CommandCall& call);

} // namespace qx::cli
