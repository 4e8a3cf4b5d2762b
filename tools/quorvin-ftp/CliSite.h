// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "CliSession.h"

#include <memory>
#include <string>
#include <vector>

namespace qx::cli {

// A site of the user's site book, read from the configuration store (never written).
class CliSite {
public:
    // Nothing, with the reason in problem, when the store has no site at that location.
    static std::unique_ptr<CliSite> Open(const std::string& location, std::string& problem);
    ~CliSite();

    CliTarget Target() const;
    const TAsciiExtensions& AsciiExtensions() const;

private:
    CliSite();
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

// The ASCII extensions of the default options, for sessions without a site.
std::vector<std::string> DefaultAsciiExtensions();

} // namespace qx::cli
