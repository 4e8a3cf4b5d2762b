// SPDX-License-Identifier: GPL-3.0-or-later
#include "CommandTable.h"

#include "Handlers.h"

#include <algorithm>

namespace qx::cli {

namespace {

// The long help texts are raw strings: their lines are the lines of the output, which adds
// the last line break.
const std::vector<CommandRow> kCommands = {
    {.name = "decode-listing",
     .forms = {{"FILE", "decode a saved LIST output"}},
     .help =
         R"(Decodes a saved LIST output (Unix, DOS and Korean-localised styles) and prints one line
per entry, tab-separated: IsFile, IsLink, Name, Size (-1 for folders and links), Year,
Month, Day, Hour, Minute, Permission, LinkTo; then HasLinks with 0 or 1.)",
     .handler = RunDecodeListing,
     .wrongCount = "decode-listing takes one FILE"},
    {.name = "ls",
     .forms = {{"URL", "list a folder"}},
     .options = {"-h", "--tsv", "--no-mlsd"},
     .help =
         R"(Lists the folder URL like ls -l: permissions, size, date, name (and the target of a
link). -h shows sizes in K, M, G. --tsv prints one tab-separated line per entry instead
(IsFile, IsLink, Name, Size, Year, Month, Day, Hour, Minute, Permission, LinkTo, then
HasLinks), telling folder links from file links by trying to enter each link. Where the
server offers MLSD, its exact facts are listed; --no-mlsd lists with LIST instead.)",
     .handler = RunLs},
    {.name = "get",
     .forms = {{"URL LOCALFILE", "download a file"},
               {"-r URL LOCALDIR", "download the folder URL into LOCALDIR"}},
     .options = {"-r", "--limit-rate"},
     .help =
         R"(Downloads the file URL into LOCALFILE (a folder there takes the remote name), or with -r
the folder URL with everything below it into LOCALDIR. Every file arrives as name.part
and takes its name when complete; --resume goes on from such a partial file only while
the remote file still has the time it was marked with (else the whole file comes).)",
     .handler = RunGet},
    {.name = "put",
     .forms = {{"LOCALFILE URL", "upload a file (a URL ending in / names the folder)"},
               {"-r LOCALPATH URL", "upload a folder (or file) into the folder URL"}},
     .options = {"-r", "--limit-rate"},
     .help =
         R"(Uploads LOCALFILE to URL (a URL ending in / names the folder), or with -r the folder (or
file) LOCALPATH into the folder URL. Hidden files stay at home; folder links are not
followed and only regular files are sent. Each file travels as name.part and is renamed
over its target when complete (--inplace: straight to its name, for servers that refuse
renames); --resume goes on only in that name.part.)",
     .handler = RunPut},
    {.name = "rm",
     .forms = {{"[-r] URL...", "remove files (and folders with -r)"}},
     .options = {"-r"},
     .help = R"(Removes the files URL..., and with -r folders with everything below them.)",
     .handler = RunRm},
    {.name = "mkdir",
     .forms = {{"URL", "make a folder"}},
     .help = R"(Makes the folder URL.)",
     .handler = RunMkdir},
    {.name = "mv",
     .forms = {{"URL NEWNAME", "rename (a NEWNAME without / stays in the same folder)"}},
     .help = R"(Renames URL; a NEWNAME without / stays in the same folder, one with / is a path.)",
     .handler = RunMv},
    {.name = "chmod",
     .forms = {{"MODE URL...", "change permissions (MODE: octal, for example 644)"}},
     .help = R"(Changes the permissions of URL... (SITE CHMOD); MODE is octal, for example 644.)",
     .handler = RunChmod},
    {.name = "copy",
     .forms = {{"SRCURL DESTURL", "copy a file or folder tree from one server straight to\n"
                                  "another, into the folder DESTURL, through the queue"}},
     .options = {"--carriers"},
     .help =
         R"(Copies a file or a folder tree from one server straight to another, into the folder
DESTURL, through the transfer queue: FTP servers exchange the data directly (PASV on the
source, PORT on the destination), which both must permit; a copy with an sftp:// side is
relayed through the tool with a buffer of a few MiB. The file arrives as name.part and
replaces the target when complete. A copy onto itself is refused.)",
     .handler = RunCopy,
     .wrongCount = "copy takes SRCURL and DESTURL"},
    {.name = "queue",
     .forms = {{"FILE", "run the jobs of FILE through the transfer queue, one a\n"
                        "line: get URL LOCALDIR, put LOCALPATH URL or copy SRCURL\n"
                        "DESTURL (the last field names a folder; folders are\n"
                        "explored)"}},
     .options = {"--carriers", "--limit-rate"},
     .help =
         R"(Runs the jobs of FILE through the transfer queue, up to N at once (default 3), one job a
line: get URL LOCALDIR, put LOCALPATH URL or copy SRCURL DESTURL. The last field names a
folder; folders are explored level by level. # starts a comment; quote fields that hold
blanks. A malformed line is reported with its number, and nothing runs.)",
     .handler = RunQueue,
     .wrongCount = "queue takes one FILE"},
    {.name = "mirror",
     .forms = {{"URL LOCALDIR", "make LOCALDIR like the remote folder URL"},
               {"--reverse LOCALDIR URL", "make the remote folder URL like LOCALDIR"}},
     .options = {"--reverse", "--delete", "--dry-run", "--size-only", "--include", "--exclude",
                 "--carriers", "--limit-rate"},
     .help =
         R"(Makes LOCALDIR like the remote folder URL with everything below it, or with --reverse
the remote folder like LOCALDIR: files missing at the target, newer at the source or of
another size are transferred through the transfer queue (--carriers at once); a file
that is newer at the target is left alone and listed. Times count only as exactly as a
listing tells them (a LIST line of an older file gives the day). --size-only compares
sizes alone. --include and --exclude take masks of names (*.html;*.css); an excluded
name is neither transferred nor deleted. --delete also deletes files (and then empty
folders) that the source does not have. --dry-run prints the plan and changes nothing.
A summary line ends the output; the exit status is 0 only when every planned action
succeeded. Links are not followed on either side.)",
     .handler = RunMirror,
     .wrongCount = "mirror takes URL and LOCALDIR (with --reverse: LOCALDIR and URL)"},
    {.name = "find",
     .forms = {{"URL", "list the files and folders below URL that match"}},
     .options = {"--name", "--newer", "--older", "--larger", "--smaller", "--max-depth"},
     .help =
         R"(Searches the folder URL and the folders below it, level by level, and prints the path of
every entry that matches all the criteria given, one a line (a folder's with a / at its
end); without criteria every entry. --name takes masks of names (*.log;core.*), --newer
and --older a date on this machine's clock (2026-12-01 or "2026-12-01 14:30"), --larger
and --smaller a size (500K, 2M, 1G: powers of 1024) that only files can match.
--max-depth N searches N levels below URL (default 32). Links are listed but not
followed. A folder that cannot be listed is told and passed over; the exit status is
then 1.)",
     .handler = RunFind},
    {.name = "sites",
     .forms = {{"import FILE", "add the sites of FILE to the site book"},
               {"export FILE", "write the site book to FILE"}},
     .options = {"--dry-run", "--with-passwords"},
     .help =
         R"(import adds the sites of FILE to the site book, with their folders: a site list of
another client (a site manager XML file, or an INI file with [Sessions\Name] groups) or
a file that sites export wrote. A site whose name the book has already is left out, as
are protocols this program does not speak and passwords kept encrypted; each is listed
with the reason. Passwords go to the keyring where there is one. --dry-run lists what
would be added and changes nothing. Import while the program is not running: it would
write its own site book over the file. export writes every folder and site of the site
book into FILE (mode 0600), without passwords unless --with-passwords.)",
     .handler = RunSites,
     .wrongCount = "sites takes import or export, and a FILE"},
};

} // namespace

const std::vector<CommandRow>& CommandTable() {
    return kCommands;
}

const CommandRow* FindCommand(std::string_view name) {
    const auto& table = CommandTable();
    const auto found = std::ranges::find(table, name, &CommandRow::name);
    return found != table.end() ? &*found : nullptr;
}

std::vector<std::string_view> ArgumentNames(const CommandForm& form) {
    std::vector<std::string_view> names;
    std::string_view rest = form.arguments;
    while (!rest.empty()) {
        const std::size_t end = std::min(rest.find(' '), rest.size());
        const std::string_view word = rest.substr(0, end);
        if (!word.starts_with('-') && !word.starts_with('[')) {
            names.push_back(word);
        }
        rest.remove_prefix(std::min(end + 1, rest.size()));
    }
    return names;
}

std::vector<std::string_view> ArgumentNames(const CommandRow& command) {
    return ArgumentNames(command.forms.front());
}

std::string_view ArgumentName(const CommandRow& command, std::size_t position) {
    const std::vector<std::string_view> names = ArgumentNames(command);
    if (position < names.size()) {
        return names[position];
    }
    if (!names.empty() && names.back().ends_with("...")) {
        return names.back();
    }
    return {};
}

bool TakesArgumentCount(const CommandRow& command, std::size_t count) {
    const std::vector<std::string_view> names = ArgumentNames(command);
    const bool repeats = !names.empty() && names.back().ends_with("...");
    return repeats ? count >= names.size() : count == names.size();
}

ArgumentKind KindOfArgument(std::string_view name) {
    if (name.ends_with("...")) {
        name.remove_suffix(3);
    }
    if (name.ends_with("URL")) {
        return ArgumentKind::Remote;
    }
    if (name == "FILE" || name.starts_with("LOCAL")) {
        return ArgumentKind::Local;
    }
    return ArgumentKind::Word;
}

} // namespace qx::cli
