// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/CoreMessage.h"
#include "settings/SiteProperties.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace qx {

class TGlobalOptions;
class TSiteBookModel;
class TSiteBookNode;

// A site read from a file, ready to join the site book.
struct TSiteToAdd {
    std::vector<std::string> Folder; // the folders it sits in, outermost first
    std::string Name;
    std::unique_ptr<TSiteProperties> Properties;
    std::string LocalFolder; // where its downloads go first; empty for the default
};

// What a file gave: the sites, and one line for each thing left out and why.
struct TSitesToAdd {
    std::vector<TSiteToAdd> Sites;
    std::vector<TCoreMessage> Notes;
};

// The sites of a file: a site book exported by this program, or another client's site list
// (settings/SiteImport.h). Nothing, with the reason in error, for a file that cannot be read,
// is none of these or is damaged.
std::optional<TSitesToAdd> ReadSitesFile(const std::filesystem::path& file,
                                         const TGlobalOptions& options, TCoreMessage& error);

struct TSiteBookImportReport {
    std::vector<std::string> Added;  // the new sites' locations ("\Work\Web")
    std::vector<TCoreMessage> Notes; // the file's notes, then what could not be added and why
};

// Adds the sites below the target folder, their folders made where missing (an existing
// folder of the name takes them). A site whose name is taken is left out and noted: nothing in
// the book is replaced. With dryRun nothing changes (the sites stay as they are, to be added
// next) and Added lists what would be added; else the book takes the sites' settings over.
TSiteBookImportReport AddSites(TSiteBookModel& book, TSiteBookNode& target, TSitesToAdd& sites,
                               bool dryRun);

// Writes the site book's folders and sites into a new file (replacing one there whole, mode
// 0600) that ReadSitesFile reads back. Passwords are left out unless asked for. False, with the
// reason in error, when the file cannot be written.
bool ExportSiteBook(const TSiteBookModel& book, const std::filesystem::path& file,
                    bool withPasswords, TCoreMessage& error);

} // namespace qx
