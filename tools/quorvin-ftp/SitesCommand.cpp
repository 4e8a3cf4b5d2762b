// SPDX-License-Identifier: GPL-3.0-or-later
// sites: the site book taken in from a file, or written out to one.

#include "Handlers.h"

#include "CliOutput.h"
#include "VisibleText.h"
#include "platform/ConfigStore.h"
#include "platform/ProgramSocket.h"
#include "platform/SecretPasswordStore.h"
#include "settings/GlobalOptions.h"
#include "settings/SiteBookModel.h"
#include "settings/SiteBookTransfer.h"

#include <iostream>

namespace qx::cli {

namespace {

// The settings file and the site book over it; read-only unless the book is to change.
struct SiteBook {
    explicit SiteBook(TConfigStore::TOpenMode mode)
        : store(TConfigStore::DefaultFile(), mode), options(store),
          book(store, options, TSiteBookModel::CurrentUserName(), &passwords) {}

    TSecretPasswordStore passwords;
    TConfigStore store;
    TGlobalOptions options;
    TSiteBookModel book;
};

int Import(const CommandCall& call, const std::string& file) {
    const bool dryRun = call.options.dryRun;
    // The program keeps the settings in memory and writes them whole: what the tool wrote
    // meanwhile would be undone.
    if (!dryRun && ProgramIsRunning()) {
        return Fail("Quorvin Explorer is running: import the sites in its site book (Import "
                    "Sites...), or close it first");
    }
    SiteBook sites(dryRun ? TConfigStore::TOpenMode::ReadOnly : TConfigStore::TOpenMode::ReadWrite);
    if (!sites.store.LoadProblem().empty()) {
        return Fail(sites.store.LoadProblem());
    }
    sites.book.Load();
    TCoreMessage error;
    auto read = ReadSitesFile(file, sites.options, error);
    if (!read) {
        return Fail(error.Text());
    }
    const TSiteBookImportReport report = AddSites(sites.book, sites.book.Root(), *read, dryRun);
    for (const std::string& location : report.Added) {
        std::cout << (dryRun ? "would add " : "added ") << VisibleText(location) << '\n';
    }
    for (const TCoreMessage& note : report.Notes) {
        std::cout << "left out " << VisibleText(note.Text()) << '\n';
    }
    std::cout << "sites" << (dryRun ? " (dry run)" : "") << ": " << report.Added.size()
              << (dryRun ? " to add, " : " added, ") << report.Notes.size() << " left out\n";
    if (!dryRun && !sites.store.Flush()) {
        return Fail(sites.store.File().string() + ": cannot be written");
    }
    const std::string flushed = FlushOutput();
    return flushed.empty() ? 0 : Fail(flushed);
}

int Export(const CommandCall& call, const std::string& file) {
    SiteBook sites(TConfigStore::TOpenMode::ReadOnly);
    if (!sites.store.LoadProblem().empty()) {
        return Fail(sites.store.LoadProblem());
    }
    sites.book.Load();
    TCoreMessage error;
    if (!ExportSiteBook(sites.book, file, call.options.withPasswords, error)) {
        return Fail(error.Text());
    }
    return 0;
}

} // namespace

int RunSites(const CommandCall& call) {
    const std::string& action = call.arguments[0];
    const std::string& file = call.arguments[1];
    if (file.empty()) {
        return Usage("sites needs a FILE, not an empty name", "sites");
    }
    if (action == "import") {
        return Import(call, file);
    }
    if (action == "export") {
        return Export(call, file);
    }
    return Usage("sites takes import or export, not " + VisibleText(action), "sites");
}

} // namespace qx::cli
