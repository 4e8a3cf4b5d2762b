#include "CommandHelp.h"

#include <array>
#include <utility>

namespace qx::cli {

namespace {

constexpr std::array<std::pair<std::string_view, const char*>, 10> kHelp = {{
    {"decode-listing",
     "usage: quorvin-ftp decode-listing FILE\n"
     "Decodes a saved LIST output (Unix, DOS and Korean-localised styles) and prints one line\n"
     "per entry, tab-separated: IsFile, IsLink, Name, Size (-1 for folders and links), Year,\n"
     "Month, Day, Hour, Minute, Permission, LinkTo; then HasLinks with 0 or 1.\n"},
    {"ls",
     "usage: quorvin-ftp [-h] [--tsv] [--no-mlsd] ls URL\n"
     "Lists the folder URL like ls -l: permissions, size, date, name (and the target of a\n"
     "link). -h shows sizes in K, M, G. --tsv prints one tab-separated line per entry instead\n"
     "(IsFile, IsLink, Name, Size, Year, Month, Day, Hour, Minute, Permission, LinkTo, then\n"
     "HasLinks), telling folder links from file links by trying to enter each link. Where the\n"
     "server offers MLSD, its exact facts are listed; --no-mlsd lists with LIST instead.\n"},
    {"get",
     "usage: quorvin-ftp get URL LOCALFILE\n"
     "       quorvin-ftp get -r URL LOCALDIR\n"
     "Downloads the file URL into LOCALFILE (a folder there takes the remote name), or with -r\n"
     "the folder URL with everything below it into LOCALDIR. Every file arrives as name.part\n"
     "and takes its name when complete; --resume goes on from such a partial file only while\n"
     "the remote file still has the time it was marked with (else the whole file comes).\n"},
    {"put",
     "usage: quorvin-ftp put LOCALFILE URL\n"
     "       quorvin-ftp put -r LOCALPATH URL\n"
     "Uploads LOCALFILE to URL (a URL ending in / names the folder), or with -r the folder (or\n"
     "file) LOCALPATH into the folder URL. Hidden files stay at home; folder links are not\n"
     "followed and only regular files are sent. Each file travels as name.part and is renamed\n"
     "over its target when complete (--inplace: straight to its name, for servers that refuse\n"
     "renames); --resume goes on only in that name.part.\n"},
    {"rm", "usage: quorvin-ftp rm [-r] URL...\n"
           "Removes the files URL..., and with -r folders with everything below them.\n"},
    {"mkdir", "usage: quorvin-ftp mkdir URL\nMakes the folder URL.\n"},
    {"mv", "usage: quorvin-ftp mv URL NEWNAME\n"
           "Renames URL; a NEWNAME without / stays in the same folder, one with / is a path.\n"},
    {"chmod", "usage: quorvin-ftp chmod MODE URL...\n"
              "Changes the permissions of URL... (SITE CHMOD); MODE is octal, for example 644.\n"},
    {"copy",
     "usage: quorvin-ftp [--carriers N] copy SRCURL DESTURL\n"
     "Copies a file or a folder tree from one server straight to another, into the folder\n"
     "DESTURL, through the transfer queue: the servers exchange the data directly (PASV on the\n"
     "source, PORT on the destination), which both must permit; the file arrives as name.part\n"
     "and replaces the target when complete. A copy onto itself is refused.\n"},
    {"queue",
     "usage: quorvin-ftp [--carriers N] queue FILE\n"
     "Runs the jobs of FILE through the transfer queue, up to N at once (default 3), one job a\n"
     "line: get URL LOCALDIR, put LOCALPATH URL or copy SRCURL DESTURL. The last field names a\n"
     "folder; folders are explored level by level. # starts a comment; quote fields that hold\n"
     "blanks. A malformed line is reported with its number, and nothing runs.\n"},
}};

} // namespace

const char* CommandHelp(std::string_view command) {
    for (const auto& [name, text] : kHelp) {
        if (name == command) {
            return text;
        }
    }
    return nullptr;
}

} // namespace qx::cli
