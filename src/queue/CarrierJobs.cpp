// SPDX-License-Identifier: GPL-3.0-or-later
// The six jobs of a carrier: carrying one file down, up or from server to server, and
// exploring one folder for each of the three directions. A copy with an SFTP side is relayed
// (CarrierRelay.cpp).

#include "queue/FTPCarrierThread.h"

#include "base/ShellIcons.h"
#include "engine/FtpReplies.h"
#include "engine/LocalFileStream.h"
#include "engine/SocketAddress.h"
#include "session/LocalLinks.h"
#include "session/RemoteNames.h"
#include "session/RemoteTransfers.h"
#include "session/ResumeRule.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace qx {

namespace {

// A folder path as items hold it: ending with "/" (an empty, relative path stays empty).
std::string FolderPath(const std::string& path) {
    if (path.empty() || path.back() == '/') {
        return path;
    }
    return path + "/";
}

// The host a PASV reply names, "h1.h2.h3.h4" from "(h1,h2,h3,h4,p1,p2)"; empty without one.
std::string PassiveHost(const std::string& reply) {
    const auto open = reply.find('(');
    if (open == std::string::npos) {
        return {};
    }
    std::string host = reply.substr(open + 1);
    std::size_t comma = 0;
    for (int field = 0; field < 4; ++field) {
        comma = host.find(',', comma);
        if (comma == std::string::npos) {
            return {};
        }
        if (field < 3) {
            host[comma] = '.';
        }
    }
    host.resize(comma);
    return host;
}

} // namespace

std::unique_ptr<TFTPCarryItem> TFTPCarrierThread::NewItem(TCarryDirection direction) const {
    const TThreadedFTPCarrier& carrier = *m_carrier;
    auto item = std::make_unique<TFTPCarryItem>();
    // The explored folder's job, passive mode included (a server-to-server item moves no data
    // of ours, but its explorations list folders); the caller names the entry and its paths.
    static_cast<TCarryJob&>(*item) = carrier;
    item->Direction = direction;
    item->Depth = carrier.Depth + 1;
    item->LocalRoot = direction == TCarryDirection::Download ? LocalRoot() : std::string();
    return item;
}

// --- Carrying one file -----------------------------------------------------------------------

// A file job names a plain file; an exploration a plain folder, or none for the folder itself.
bool TFTPCarrierThread::NameFits(bool folder) {
    const std::string& name = m_carrier->FileName;
    if (folder ? name.empty() || IsSafeEntryName(name) : IsSafeEntryName(name)) {
        return true;
    }
    Fail(folder ? "500 Cannot explore [" + name + "]: not a folder name."
                : "500 Cannot carry [" + name + "]: not a file name.");
    return false;
}

bool TFTPCarrierThread::ExplorationFits() {
    const TThreadedFTPCarrier& carrier = *m_carrier;
    return NameFits(true) && WithinDepth(carrier.Depth, carrier.SrcPath + carrier.FileName);
}

const std::string& TFTPCarrierThread::LocalRoot() const {
    return m_carrier->LocalRoot.empty() ? m_carrier->DestPath : m_carrier->LocalRoot;
}

// A link in the local folder may point anywhere: a download follows it only into the folder
// the user chose.
bool TFTPCarrierThread::StaysInLocalRoot(const std::string& local) {
    if (!LeadsOutOf(local, LocalRoot())) {
        return true;
    }
    Fail("500 Cannot write [" + local + "]: a link leads it out of [" + LocalRoot() + "].");
    Deliver("! " + m_carrier->ErrorMessage);
    return false;
}

bool TFTPCarrierThread::PrepareDestinationFolder(const std::string& folder) {
    if (!Login(Destination) || !EnterOrMakeFolder(folder)) {
        return false;
    }
    QuitIfDone(Destination);
    return !Aborted();
}

bool TFTPCarrierThread::ListSourceFolder(const std::string& folder, TFTPListItems& listing) {
    if (!Login(Source) || !ListFolder(folder, listing)) {
        return false;
    }
    QuitIfDone(Source);
    return !Aborted();
}

void TFTPCarrierThread::JobDownload() {
    const TThreadedFTPCarrier& carrier = *m_carrier;
    if (!NameFits(false) || !StaysInLocalRoot(carrier.DestPath + carrier.FileName)) {
        return;
    }
    if (!Login(Source) || !ProbeRestart() || !SetType(Source)) {
        return;
    }
    TRemoteProtocol& source = Remote(Source);
    std::string remoteFile = carrier.SrcPath + carrier.FileName;
    std::string localFile = carrier.DestPath + carrier.FileName;
    bool resume = carrier.ResumeTransfer && ResumeSupported(Source);
    if (AsksBeforeOverwrite()) {
        TTargetGuard guard(source, OverwriteAsker(), nullptr);
        if (!GoesAhead(guard.Download(remoteFile, localFile, source.Binary(),
                                      ResumeSupported(Source), resume),
                       {Source})) {
            return;
        }
    }
    // SIZE first: the download must end with that size, and a resumed one knows from it
    // whether the local part is the start of the file.
    DownloadFile(source, remoteFile, localFile, resume, {});
    if (!Failed()) {
        QuitIfDone(Source);
    }
}

void TFTPCarrierThread::JobUpload() {
    const TThreadedFTPCarrier& carrier = *m_carrier;
    if (!NameFits(false)) {
        return;
    }
    if (!Login(Destination) || !SetType(Destination)) {
        return;
    }
    TRemoteProtocol& destination = Remote(Destination);
    std::string remoteFile = carrier.DestPath + carrier.FileName;
    std::string localFile = carrier.SrcPath + carrier.FileName;
    bool resume = carrier.ResumeTransfer;
    if (AsksBeforeOverwrite()) {
        TTargetGuard guard(destination, OverwriteAsker(), nullptr);
        if (!GoesAhead(guard.Upload(localFile, remoteFile, destination.Binary(), true, resume),
                       {Destination})) {
            return;
        }
    }
    UploadFile(destination, localFile, remoteFile, resume);
    if (!Failed()) {
        QuitIfDone(Destination);
    }
}

// Between TLS sessions the servers' data connection must be protected too, and one of the
// two servers has to take the client's part of its TLS handshake: the one that connects with
// SSCN ON, or the one that listens with CPSV instead of PASV. A server that offers neither gets
// a clear failure: the file never travels in clear text between protected sessions.
bool TFTPCarrierThread::ProtectServerToServer(Side listening, bool& clientRoleSet,
                                              std::string& passive) {
    const Side connecting = listening == Source ? Destination : Source;
    if (!Engine(Source).TlsActive() && !Engine(Destination).TlsActive()) {
        return true;
    }
    if (!Engine(Source).DataProtected() || !Engine(Destination).DataProtected()) {
        Driver(Destination)
            .FailAndLog("534 Server-to-server copy refused: only one of the servers protects "
                        "its data connections with TLS, and the file would travel between them "
                        "in clear text.");
        return false;
    }
    if (Driver(connecting).Quote("SSCN ON") == 2) {
        return false;
    }
    if (!Failed()) {
        clientRoleSet = true;
        return true;
    }
    Driver(connecting).ClearFailure();
    if (Driver(listening).Quote("CPSV") == 2) {
        return false;
    }
    if (!Failed()) {
        passive.clear(); // that server listens already, and takes the client's part
        return true;
    }
    Driver(listening).FailAndLog("534 Server-to-server copy between TLS servers needs SSCN or "
                                 "CPSV, which neither server offers; the file is not sent in "
                                 "clear text.");
    return false;
}

// A copy whose target is its source (the same server, reached at the same address and port,
// and the same path) would overwrite what it reads, and a folder copied into itself would
// grow for ever. Paths are compared as given: the carrier's paths start at the root.
bool TFTPCarrierThread::CopiesOntoItself(const std::string& sourcePath,
                                         const std::string& destinationPath, bool folder) {
    std::string server;
    if (IsSftp(Source) != IsSftp(Destination)) {
        return false; // an SFTP server and an FTP one never share a port
    }
    if (IsSftp(Source)) {
        // ssh reaches the server by the names it is given: the same name, port and login are
        // the same server (an alias of it is not seen as one).
        const TSftpSite& from = m_sftp[Source]->Site;
        const TSftpSite& to = m_sftp[Destination]->Site;
        if (from.Host != to.Host || from.Port != to.Port) {
            return false;
        }
        server = from.Host + " port " + (from.Port.empty() ? "22" : from.Port);
    } else {
        const auto from = Engine(Source).ControlSocket().PeerAddress();
        const auto to = Engine(Destination).ControlSocket().PeerAddress();
        if (!from || !to || from->AddressText() != to->AddressText() ||
            from->Port() != to->Port()) {
            return false;
        }
        server = from->AddressText() + " port " + std::to_string(from->Port());
    }
    const std::string source = NormalizeRemotePath(sourcePath);
    const std::string target = NormalizeRemotePath(destinationPath);
    const std::string below = source.empty() || source.back() == '/' ? source : source + "/";
    // A file is also its own target when the copy would travel under the source's name.
    const bool same = folder ? target == source || target.starts_with(below)
                             : target == source || (Remote(Destination).UploadToTemporaryName &&
                                                    TemporaryUploadName(target) == source);
    if (!same) {
        return false;
    }
    Fail(folder ? "500 Cannot copy the folder [" + source + "] into itself on " + server + "."
                : "500 Cannot copy [" + source +
                      "] onto itself: the target is the source file on " + server + ".");
    Deliver("! " + m_carrier->ErrorMessage);
    return true;
}

// Sends the command that starts one side of a server-to-server transfer and watches that
// side's replies from then on; false when the server refused.
bool TFTPCarrierThread::StartServerSide(Side side, const std::string& command) {
    m_watches[side] = ReplyWatch{true, 0, {}, {}};
    if (Driver(side).Quote(command) != 0) {
        return false;
    }
    // A refusal below 500 (425, 450, ...) is no start of a transfer either.
    const std::string& answer = m_watches[side].answer;
    if (ReplyCode(answer) >= 400) {
        Fail(answer);
        return false;
    }
    return true;
}

void TFTPCarrierThread::JobTransfer() {
    const TThreadedFTPCarrier& carrier = *m_carrier;
    if (!NameFits(false)) {
        return;
    }
    if (IsSftp(Source) || IsSftp(Destination)) {
        RelayCopy(); // the servers cannot exchange the data themselves
        return;
    }
    TFtpClientEx& source = Engine(Source);
    TFtpClientEx& destination = Engine(Destination);
    if (!Login(Source) || !ProbeRestart() || !Login(Destination)) {
        return;
    }
    const std::string sourceFile = carrier.SrcPath + carrier.FileName;
    std::string destinationFile = carrier.DestPath + carrier.FileName;
    if (CopiesOntoItself(sourceFile, destinationFile, false)) {
        return;
    }
    if (!SetType(Source) || !SetType(Destination)) {
        return;
    }

    // Offsets only mean the same on both sides in binary mode.
    const bool binary = source.Binary() && destination.Binary();
    bool resume = carrier.ResumeTransfer && Driver(Source).ResumeSupported() && binary;
    if (AsksBeforeOverwrite()) {
        TTargetGuard guard(Driver(Destination), OverwriteAsker(), nullptr);
        if (!GoesAhead(guard.Copy(Driver(Source), sourceFile, destinationFile, binary,
                                  Driver(Source).ResumeSupported(), resume),
                       {Source, Destination})) {
            return;
        }
        if (CopiesOntoItself(sourceFile, destinationFile, false)) {
            return; // a name chosen in the question may be the source's
        }
    }

    // Over IPv6 the listening server is asked with EPSV and the other one told its address with
    // EPRT; the two servers must speak the same family to reach each other.
    const bool ipv6 = destination.DnsResult().find(':') != std::string::npos;
    if (ipv6 != (source.DnsResult().find(':') != std::string::npos)) {
        Driver(Source).FailAndLog("500 A server-to-server copy needs both servers on IPv4 or "
                                  "both on IPv6; [" +
                                  source.DnsResult() + "] and [" + destination.DnsResult() +
                                  "] cannot reach each other directly.");
        return;
    }
    // The server that receives the first command connects to the other one, which listens.
    // With a temporary name that is the destination: STOR goes first, to the temporary file,
    // the order both kinds of servers take (a server that drops a data connection that came
    // before its command never loses the file), and the target itself is written only by the
    // rename of the complete copy. Without one the source connects and answers RETR first:
    // a copy that cannot be read never touches the target.
    const bool temporary = Driver(Destination).UploadToTemporaryName;
    const Side listening = temporary ? Source : Destination;
    const Side connecting = temporary ? Destination : Source;
    bool clientRoleSet = false;
    std::string passive = ipv6 ? "EPSV" : "PASV";
    if (!ProtectServerToServer(listening, clientRoleSet, passive)) {
        return;
    }
    struct RestoreRole {
        TFTPCarrierThread& thread;
        Side side;
        bool set;
        ~RestoreRole() {
            if (set) {
                // Our own data connections need the server in its usual role again.
                thread.Driver(side).Quote("SSCN OFF");
            }
        }
    } restoreRole{*this, connecting, clientRoleSet};
    if (!passive.empty() && Driver(listening).Quote(passive) != 0) {
        return;
    }
    // The connecting server is sent to the listening one's address as our own connection to it
    // knows it, whatever host the reply names: a hostile server could otherwise make the other
    // one connect anywhere, and a server behind NAT names an address only its own network knows.
    std::string portCommand;
    const TFtpClientEx& listener = Engine(listening);
    const std::string& reply = listener.LastResponse();
    if (const auto port = EpsvPortFromReply(reply); ipv6 && port) {
        portCommand = EprtCommand(listener.DnsResult(), true, *port);
    } else if (const auto address = TSocketAddress::FromText(listener.DnsResult(), 0);
               !ipv6 && address && PasvPortFromReply(reply)) {
        portCommand = PortCommand(address->Ipv4(), *PasvPortFromReply(reply), false);
        if (const std::string named = PassiveHost(reply); named != listener.DnsResult()) {
            DeliverTagged(listening, '~',
                          "The passive reply names [" + named + "]; the " +
                              (listening == Source ? "destination" : "source") + " connects to [" +
                              listener.DnsResult() + "], where this connection goes.");
        }
    } else {
        Driver(listening).FailAndLog("550 Invalid passive mode reply: " + reply);
        return;
    }
    if (Driver(connecting).Quote(portCommand) != 0) {
        return;
    }

    // Only the temporary file is ever continued.
    const std::string stored = temporary ? TemporaryUploadName(destinationFile) : destinationFile;
    std::string store = "STOR ";
    std::int64_t startSize = 0; // of the file stored once the transfer starts
    if (resume && !temporary) {
        Driver(Destination)
            .Line('~', NotResumedText("copies to this server go straight to their name, so "
                                      "nothing of [" +
                                      destinationFile +
                                      "] is known to be a part of this file; copying the "
                                      "whole file."));
    } else if (resume) {
        destination.HostFileName = stored;
        if (Driver(Destination).Step(&TCustomFtpCliEx::Size) == 2) {
            return;
        }
        const std::int64_t held = Failed() ? -1 : destination.SizeResult();
        Driver(Destination).ClearFailure();
        if (held >= 0 && (carrier.FileSize < 0 || held <= carrier.FileSize)) {
            if (Driver(Source).Quote("REST " + std::to_string(held)) == 2) {
                return;
            }
            if (!Failed()) {
                store = "APPE ";
                startSize = held;
            }
            Driver(Source).ClearFailure();
        }
    }

    const std::pair<Side, std::string> storing{Destination, store + stored};
    const std::pair<Side, std::string> retrieving{Source, "RETR " + sourceFile};
    const auto& [firstSide, first] = temporary ? storing : retrieving;
    const auto& [secondSide, second] = temporary ? retrieving : storing;
    if (!StartServerSide(firstSide, first) || !StartServerSide(secondSide, second) ||
        !WaitForTransferEnd(stored, startSize)) {
        return;
    }
    if (temporary && !PutInPlace(Driver(Destination), stored, destinationFile)) {
        return;
    }
    QuitIfDone(Source);
    if (!Aborted()) {
        QuitIfDone(Destination);
    }
}

// --- Exploring one folder --------------------------------------------------------------------

void TFTPCarrierThread::QueueRemoteEntries(const TFTPListItems& listing,
                                           const std::string& sourceFolder,
                                           TCarryDirection direction,
                                           const std::string& destinationFolder) {
    for (const auto& entry : listing) {
        if (!UsableRemoteEntry(*entry, sourceFolder)) {
            continue;
        }
        auto item = NewItem(direction);
        item->IsFolder = !entry->IsFile;
        item->FileName = entry->Name;
        item->SrcPath = FolderPath(sourceFolder);
        item->DestPath = FolderPath(destinationFolder);
        item->FileSize = item->IsFolder ? -1 : entry->Size;
        item->ImageIndex = entry->ImageIndex;
        item->TypeName = entry->TypeName;
        m_carrier->Items.Add(std::move(item));
    }
}

void TFTPCarrierThread::JobExploreDownload() {
    const TThreadedFTPCarrier& carrier = *m_carrier;
    const std::string localFolder = carrier.DestPath + carrier.FileName;
    if (!ExplorationFits() || !StaysInLocalRoot(localFolder)) {
        return;
    }
    std::error_code error;
    if (!fs::is_directory(localFolder, error) && !fs::create_directory(localFolder, error)) {
        Fail("500 Cannot create folder " + localFolder + ".");
        return;
    }
    const std::string sourceFolder = carrier.SrcPath + carrier.FileName;
    TFTPListItems listing;
    if (ListSourceFolder(sourceFolder, listing)) {
        QueueRemoteEntries(listing, sourceFolder, TCarryDirection::Download, localFolder);
    }
}

void TFTPCarrierThread::JobExploreTransfer() {
    const TThreadedFTPCarrier& carrier = *m_carrier;
    if (!ExplorationFits()) {
        return;
    }
    const std::string destinationFolder = carrier.DestPath + carrier.FileName;
    const std::string sourceFolder = carrier.SrcPath + carrier.FileName;
    // Both logins first: a folder copied into itself is refused before anything is made.
    if (!Login(Destination) || !Login(Source) ||
        CopiesOntoItself(sourceFolder, destinationFolder, true) ||
        !EnterOrMakeFolder(destinationFolder)) {
        return;
    }
    QuitIfDone(Destination);
    TFTPListItems listing;
    if (Aborted() || !ListFolder(sourceFolder, listing)) {
        return;
    }
    QuitIfDone(Source);
    if (!Aborted()) {
        QueueRemoteEntries(listing, sourceFolder, TCarryDirection::ServerToServer,
                           destinationFolder);
    }
}

void TFTPCarrierThread::JobExploreUpload() {
    const TThreadedFTPCarrier& carrier = *m_carrier;
    const std::string remoteFolder = carrier.DestPath + carrier.FileName;
    if (!ExplorationFits() || !PrepareDestinationFolder(remoteFolder)) {
        return;
    }

    const std::string localFolder = carrier.SrcPath + carrier.FileName;
    std::error_code error;
    std::vector<fs::directory_entry> entries;
    for (fs::directory_iterator it(localFolder, error), end; !error && it != end;
         it.increment(error)) {
        entries.push_back(*it);
    }
    if (error) {
        Remote(Destination)
            .FailAndLog("550 Cannot read folder " + localFolder + ": " + error.message() + ".");
        return;
    }
    std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) {
        return a.path().filename() < b.path().filename();
    });

    const TShellIcons& icons = SharedShellIcons();
    for (const fs::directory_entry& entry : entries) {
        const std::string name = entry.path().filename().string();
        if (name.front() == '.') {
            continue;
        }
        const auto skip = [&](const std::string& why) {
            Skip(Destination, "Skipped [" + name + "] in [" + localFolder + "]: " + why + ".");
        };
        if (!IsSafeEntryName(name)) {
            skip("not a name that can be carried");
            continue;
        }
        std::error_code statError;
        const bool folder = entry.is_directory(statError);
        if (folder && entry.is_symlink(statError)) {
            // Into the tree it would upload a part twice (or for ever), out of it files the
            // user did not choose.
            skip("uploads do not follow folder links");
            continue;
        }
        if (!folder && !entry.is_regular_file(statError)) {
            skip("not a file or a folder");
            continue;
        }
        auto item = NewItem(TCarryDirection::Upload);
        item->IsFolder = folder;
        item->FileName = name;
        item->SrcPath = FolderPath(localFolder);
        item->DestPath = FolderPath(remoteFolder);
        item->FileSize = folder ? -1 : static_cast<std::int64_t>(entry.file_size(statError));
        if (statError) {
            item->FileSize = -1;
        }
        item->ImageIndex = folder ? icons.FolderIconIndex : icons.GetIconIndex(name);
        item->TypeName = folder ? icons.FolderTypeName : icons.GetTypeName(name);
        m_carrier->Items.Add(std::move(item));
    }
}

} // namespace qx
