// SPDX-License-Identifier: GPL-3.0-or-later
#include "queue/QueueFile.h"

#include "base/ShellIcons.h"
#include "base/TimeZoneOffset.h"
#include "engine/sftp/SshArguments.h"
#include "platform/ConfigFile.h"
#include "platform/ConfigStore.h"
#include "platform/PasswordStore.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <type_traits>

namespace qx {

namespace {

constexpr std::string_view ItemsKey = "\\Items";
constexpr std::string_view QueuedState = "Queued";
constexpr std::string_view FailedState = "Failed";

std::string ItemPath(std::string_view key) {
    return std::string(ItemsKey) + "\\" + std::string(key);
}

template <typename Number> std::optional<Number> ParseNumber(std::string_view text) {
    Number value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) {
        return std::nullopt;
    }
    return value;
}

// A stored value of an enumeration from 0 to last: whenAbsent where nothing is stored,
// nothing where the value is out of range.
template <typename Enum>
std::optional<Enum> EnumOf(std::optional<std::int32_t> number, Enum last,
                           std::type_identity_t<std::optional<Enum>> whenAbsent = std::nullopt) {
    if (!number) {
        return whenAbsent;
    }
    if (*number < 0 || *number > static_cast<std::int32_t>(last)) {
        return std::nullopt;
    }
    return static_cast<Enum>(*number);
}

// A name the carriers can take: one path component.
bool IsEntryName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of(std::string_view("/\0", 2)) == std::string_view::npos;
}

bool IsAnonymous(std::string_view user) {
    return user.empty() || user == "anonymous" || user == "ftp";
}

TPasswordKey KeyOf(const std::string& host, const std::string& port, const std::string& user) {
    return {host, ParseNumber<std::int32_t>(port).value_or(21), user};
}

// Writes an item's values to the store and, as "V" records, to the log, so that an item that
// joins is on the disk with one short append instead of a rewrite of the whole file.
class TItemWriter {
public:
    TItemWriter(TConfigStore& store, const std::string& key, std::vector<std::string>& records)
        : m_store(store), m_key(key), m_path(ItemPath(key)), m_records(records) {
        m_store.CreateKey(m_path);
    }
    void Text(std::string_view name, std::string_view value) {
        m_store.WriteString(m_path, name, value);
        Record('s', name, value);
    }
    void Number(std::string_view name, std::int32_t value) {
        m_store.WriteNumber(m_path, name, value);
        Record('n', name, std::to_string(value));
    }

private:
    // "V key kind name<TAB>value"
    void Record(char kind, std::string_view name, std::string_view value) {
        std::string record = "V " + m_key + ' ' + kind + ' ' + EscapeRecordField(name);
        record.append(1, '\t').append(EscapeRecordField(value));
        m_records.push_back(std::move(record));
    }

    TConfigStore& m_store;
    const std::string& m_key;
    std::string m_path;
    std::vector<std::string>& m_records;
};

// A side's proxy, where it has one; its password goes to the keyring with the logins'.
void WriteProxy(TItemWriter& out, const std::string& side, const TProxySettings& proxy) {
    if (!proxy.Enabled()) {
        return;
    }
    out.Text(side + "ProxyKind", ProxyKindScheme(proxy.Kind));
    out.Text(side + "ProxyHost", proxy.Host);
    out.Number(side + "ProxyPort", proxy.Port);
    out.Text(side + "ProxyUser", proxy.User);
}

// A side's protocol and ssh settings; FTP sides write nothing, so that their items read as
// before.
void WriteSsh(TItemWriter& out, const std::string& side, TRemoteProtocolKind protocol,
              const TSshSettings& ssh) {
    if (protocol == TRemoteProtocolKind::Ftp) {
        return;
    }
    out.Number(side + "Protocol", static_cast<std::int32_t>(protocol));
    out.Text(side + "SshIdentityFile", ssh.IdentityFile);
    out.Number(side + "SshUseAgent", ssh.UseAgent ? 1 : 0);
    out.Text(side + "SshKnownHostsFile", ssh.KnownHostsFile);
    out.Text(side + "SshConfigFile", ssh.ConfigFile);
    out.Number(side + "SshAcceptNewHostKey", ssh.AcceptNewHostKey ? 1 : 0);
    out.Number(side + "SshOptionCount", static_cast<std::int32_t>(ssh.Options.size()));
    for (std::size_t i = 0; i < ssh.Options.size(); ++i) {
        out.Text(side + "SshOption" + std::to_string(i), ssh.Options[i]);
    }
}

// False when a proxy is named that cannot be used: the item must not connect directly instead.
bool ReadProxy(const TConfigStore& store, const std::string& path, const std::string& side,
               TProxySettings& proxy) {
    const auto kindText = store.ReadString(path, side + "ProxyKind");
    if (!kindText) {
        return true;
    }
    const auto kind = ProxyKindFromScheme(*kindText);
    const auto port = store.ReadNumber(path, side + "ProxyPort").value_or(0);
    proxy.Host = store.ReadString(path, side + "ProxyHost").value_or("");
    proxy.User = store.ReadString(path, side + "ProxyUser").value_or("");
    if (!kind || port <= 0 || port > 65535 || (*kind != TProxyKind::None && proxy.Host.empty())) {
        return false;
    }
    proxy.Kind = *kind;
    proxy.Port = static_cast<std::uint16_t>(port);
    return true;
}

// Applies a record of the log to the store; the key it names, or nothing for a damaged one.
std::optional<std::uint64_t> ApplyRecord(TConfigStore& store, std::string_view record) {
    if (record.size() < 3 || record[1] != ' ') {
        return std::nullopt; // damaged: no kind and key
    }
    const std::size_t space = std::min(record.find(' ', 2), record.size());
    const std::string_view key = record.substr(2, space - 2);
    const auto id = ParseNumber<std::uint64_t>(key);
    if (!id) {
        return std::nullopt;
    }
    const std::string path = ItemPath(key);
    const std::string_view rest = record.substr(std::min(space + 1, record.size()));
    if (record[0] == 'G') {
        store.DeleteKey(path);
    } else if (record[0] == 'F' && store.KeyExists(path)) {
        store.WriteString(path, "State", FailedState);
        store.WriteString(path, "ErrorMessage", UnescapeRecordField(rest));
    } else if (record[0] == 'V' && rest.size() > 2 && rest[1] == ' ') {
        const std::size_t tab = rest.find('\t');
        if (tab == std::string_view::npos) {
            return id;
        }
        const std::string name = UnescapeRecordField(rest.substr(2, tab - 2));
        const std::string value = UnescapeRecordField(rest.substr(tab + 1));
        if (rest[0] == 's' && store.CreateKey(path)) {
            store.WriteString(path, name, value);
        } else if (const auto number = ParseNumber<std::int32_t>(value);
                   rest[0] == 'n' && number && store.CreateKey(path)) {
            store.WriteNumber(path, name, *number);
        }
    }
    return id;
}

// The file written anew from what it holds and the records set aside, on the writer's thread:
// what the records say is all the file lacks, whatever the queue does meanwhile.
bool RewriteWithRecords(const std::filesystem::path& file, const std::filesystem::path& records) {
    TConfigStore copy(file, TConfigStore::TOpenMode::ReadOnly);
    if (!copy.LoadProblem().empty()) {
        return false;
    }
    for (const std::string& record : TAppendLog(records).Read()) {
        ApplyRecord(copy, record);
    }
    return ReplaceFileAtomically(file, copy.Text());
}

} // namespace

TQueueFile::TQueueFile(const std::filesystem::path& file, TPasswordStore* passwords)
    : m_store(std::make_unique<TConfigStore>(
          file, TConfigStore::TOpenMode::ReadWrite,
          TConfigFileRole{"transfer queue file", "an empty transfer queue"})),
      m_log(file.string() + ".log"), m_asideLog(file.string() + ".log.1"), m_passwords(passwords) {
    m_hold.emplace(*m_store);
    ReplayLog();
}

TQueueFile::~TQueueFile() {
    FinishWrite(true);
    m_hold.reset();
    if (m_store->Flush()) {
        m_log.Clear();
        m_asideLog.Clear();
    }
}

// "G key": the item left the queue; "F key message": it failed; "V key kind name<TAB>value":
// a value of an item that joined. The records set aside for a write that did not end come
// first.
void TQueueFile::ReplayLog() {
    if (!m_store->LoadProblem().empty()) {
        return; // the records belong to a file that is gone
    }
    for (const TAppendLog* log : {&m_asideLog, &m_log}) {
        for (const std::string& record : log->Read()) {
            Replay(record);
        }
    }
}

void TQueueFile::Replay(std::string_view record) {
    if (const auto id = ApplyRecord(*m_store, record)) {
        m_nextId = std::max(m_nextId, *id + 1); // a key a record names is never given again
    }
}

std::filesystem::path TQueueFile::FileBeside(const std::filesystem::path& settingsFile) {
    return settingsFile.parent_path() / "queue.conf";
}

const std::string& TQueueFile::LoadProblem() const {
    return m_store->LoadProblem();
}

TQueueFile::TKept TQueueFile::TakeItems() {
    TKept kept;
    for (const std::string& key : m_store->SubKeyNames(ItemsKey)) {
        if (const auto id = ParseNumber<std::uint64_t>(key)) {
            m_nextId = std::max(m_nextId, *id + 1);
        }
        std::unique_ptr<TFTPCarryItem> item = ReadItem(key);
        if (item == nullptr || m_keys.contains(item.get())) {
            ++kept.Unreadable;
            continue;
        }
        FillPasswords(*item);
        m_keys.emplace(item.get(), key);
        const std::string path = ItemPath(key);
        if (m_store->ReadString(path, "State") == FailedState) {
            kept.Failed.emplace_back(std::move(item),
                                     m_store->ReadString(path, "ErrorMessage").value_or(""));
        } else {
            kept.Queued.push_back(std::move(item));
        }
    }
    return kept;
}

std::string TQueueFile::NewKey() {
    char text[24];
    std::snprintf(text, sizeof text, "%010llu", static_cast<unsigned long long>(m_nextId++));
    return text;
}

void TQueueFile::QueueChanged(const TCarrierQueueChange& change) {
    std::vector<std::string> records;
    const auto forget = [&](auto found) {
        records.push_back("G " + found->second);
        m_store->DeleteKey(ItemPath(found->second));
        m_keys.erase(found);
    };
    for (const TFTPCarryItem* item : change.Gone) {
        if (const auto found = m_keys.find(item); found != m_keys.end()) {
            forget(found);
        }
    }
    for (const TFTPCarryItem* item : change.Queued) {
        if (const auto found = m_keys.find(item); found != m_keys.end()) {
            if (m_store->ReadString(ItemPath(found->second), "State") != FailedState) {
                continue; // brought back from the file, where it is already
            }
            forget(found); // resubmitted: to the end, as in the queue
        }
        const std::string key = NewKey();
        WriteItem(key, *item, records);
        m_keys.emplace(item, key);
    }
    if (change.Failed != nullptr) {
        auto found = m_keys.find(change.Failed);
        if (found == m_keys.end()) {
            found = m_keys.emplace(change.Failed, NewKey()).first;
            WriteItem(found->second, *change.Failed, records);
        }
        const std::string path = ItemPath(found->second);
        m_store->WriteString(path, "State", FailedState);
        m_store->WriteString(path, "ErrorMessage", change.ErrorMessage);
        records.push_back("F " + found->second + " " + EscapeRecordField(change.ErrorMessage));
    }
    Journal(records);
}

void TQueueFile::Journal(const std::vector<std::string>& records) {
    FinishWrite(false);
    if (!m_writeProblem.empty() || (!records.empty() && !m_log.Append(records))) {
        Written(WriteWholeNow());
        return;
    }
    Written(true);
    // The file whole once the records outnumber the items, so that what is read back at a
    // start stays in proportion to the queue.
    if (m_log.Count() > std::max<std::size_t>(256, m_keys.size())) {
        StartWrite();
    }
}

// The records so far go aside to "queue.conf.log.1", and a thread of its own writes the file
// anew from the file and those records; the records of the changes meanwhile go to a new log.
// Until the new file is in place, the old file and both logs still tell everything; replaying
// a record on a file that already holds its change changes nothing.
void TQueueFile::StartWrite() {
    if (m_write.valid()) {
        return; // one write at a time: the records wait in the log
    }
    if (!m_store->Writable()) {
        return;
    }
    if (!MoveLogAside()) {
        Written(WriteWholeNow());
        return;
    }
    m_write = std::async(std::launch::async, [file = m_store->File(), records = m_asideLog.File()] {
        return RewriteWithRecords(file, records);
    });
}

// After a write that failed the records set aside stay, and the new ones join them.
bool TQueueFile::MoveLogAside() {
    std::error_code error;
    if (!std::filesystem::exists(m_asideLog.File(), error)) {
        return !error &&
               (::rename(m_log.File().c_str(), m_asideLog.File().c_str()) == 0 ||
                errno == ENOENT) &&
               m_log.Clear();
    }
    const std::vector<std::string> records = m_log.Read();
    return (records.empty() || m_asideLog.Append(records)) && m_log.Clear();
}

void TQueueFile::FinishWrite(bool wait) {
    using namespace std::chrono_literals;
    if (!m_write.valid() || (!wait && m_write.wait_for(0s) != std::future_status::ready)) {
        return;
    }
    const bool ok = m_write.get();
    Written(ok && m_asideLog.Clear());
}

bool TQueueFile::WriteWholeNow() {
    FinishWrite(true);
    if (!m_store->Flush()) {
        return false;
    }
    return m_log.Clear() && m_asideLog.Clear();
}

void TQueueFile::Written(bool ok) {
    if (ok) {
        m_writeProblem.clear();
    } else if (m_writeProblem.empty()) {
        m_writeProblem = "cannot write the transfer queue file " + m_store->File().string();
        std::fprintf(stderr, "Quorvin Explorer: %s\n", m_writeProblem.c_str());
        if (OnWriteProblem) {
            OnWriteProblem(m_writeProblem);
        }
    }
}

void TQueueFile::WriteItem(const std::string& key, const TFTPCarryItem& item,
                           std::vector<std::string>& records) {
    TItemWriter out(*m_store, key, records);
    const auto text = [&](std::string_view name, std::string_view value) { out.Text(name, value); };
    const auto number = [&](std::string_view name, std::int32_t value) { out.Number(name, value); };
    text("State", QueuedState);
    number("IsFolder", item.IsFolder ? 1 : 0);
    number("Direction", static_cast<std::int32_t>(item.Direction));
    text("FileName", item.FileName);
    text("SrcHostName", item.SrcHostName);
    text("SrcPort", item.SrcPort);
    text("SrcUserName", item.SrcUserName);
    text("SrcPath", item.SrcPath);
    number("SrcTransferType", static_cast<std::int32_t>(item.SrcTransferType));
    text("DestHostName", item.DestHostName);
    text("DestPort", item.DestPort);
    text("DestUserName", item.DestUserName);
    text("DestPath", item.DestPath);
    number("DestTransferType", static_cast<std::int32_t>(item.DestTransferType));
    number("ResumeTransfer", item.ResumeTransfer ? 1 : 0);
    text("FileSize", std::to_string(item.FileSize));
    text("TypeName", item.TypeName);
    number("PassiveMode", item.PassiveMode ? 1 : 0);
    number("SrcEncryption", static_cast<std::int32_t>(item.SrcEncryption));
    number("DestEncryption", static_cast<std::int32_t>(item.DestEncryption));
    number("Depth", item.Depth);
    text("LocalRoot", item.LocalRoot);
    number("UploadToTemporaryName", item.UploadToTemporaryName ? 1 : 0);
    // Written only where set, so that items of servers listing in UTC read as before.
    for (const auto& [name, offset] : {std::pair{"SrcTimeZoneOffset", item.SrcTimeZoneOffset},
                                       std::pair{"DestTimeZoneOffset", item.DestTimeZoneOffset}}) {
        if (offset != 0) {
            number(name, offset);
        }
    }
    for (const auto& [name, charset] : {std::pair{"SrcNameCharset", &item.SrcNameCharset},
                                        std::pair{"DestNameCharset", &item.DestNameCharset}}) {
        if (!charset->empty()) {
            text(name, *charset);
        }
    }
    WriteSsh(out, "Src", item.SrcProtocol, item.SrcSsh);
    WriteSsh(out, "Dest", item.DestProtocol, item.DestSsh);
    WriteProxy(out, "Src", item.SrcProxy);
    WriteProxy(out, "Dest", item.DestProxy);
    KeepPasswords(item);
}

// False when the side's protocol or its ssh options cannot be taken as they are written.
bool TQueueFile::ReadSsh(const std::string& path, const std::string& side,
                         TRemoteProtocolKind& protocol, TSshSettings& ssh) const {
    // An absent protocol is an item from before SFTP: FTP. A value out of range leaves the item
    // out: it never comes back speaking another protocol.
    const auto kind = EnumOf(m_store->ReadNumber(path, side + "Protocol"),
                             TRemoteProtocolKind::Sftp, TRemoteProtocolKind::Ftp);
    if (!kind) {
        return false;
    }
    protocol = *kind;
    if (protocol == TRemoteProtocolKind::Ftp) {
        return true;
    }
    const auto text = [&](const std::string& name) {
        return m_store->ReadString(path, side + name).value_or("");
    };
    ssh.IdentityFile = text("SshIdentityFile");
    ssh.UseAgent = m_store->ReadNumber(path, side + "SshUseAgent").value_or(1) != 0;
    ssh.KnownHostsFile = text("SshKnownHostsFile");
    ssh.ConfigFile = text("SshConfigFile");
    ssh.AcceptNewHostKey = m_store->ReadNumber(path, side + "SshAcceptNewHostKey").value_or(0) != 0;
    const std::int32_t count = m_store->ReadNumber(path, side + "SshOptionCount").value_or(0);
    if (count < 0 || count > kMaxSshOptions) {
        return false;
    }
    for (std::int32_t i = 0; i < count; ++i) {
        std::string option = text("SshOption" + std::to_string(i));
        if (sftp::CheckSshOption(option)) {
            return false;
        }
        ssh.Options.push_back(std::move(option));
    }
    return true;
}

std::unique_ptr<TFTPCarryItem> TQueueFile::ReadItem(const std::string& key) const {
    const std::string path = ItemPath(key);
    const auto text = [&](std::string_view name) { return m_store->ReadString(path, name); };
    const auto number = [&](std::string_view name) { return m_store->ReadNumber(path, name); };
    auto item = std::make_unique<TFTPCarryItem>();
    const auto fileName = text("FileName");
    const auto direction = EnumOf(number("Direction"), TCarryDirection::ServerToServer);
    const auto srcType = EnumOf(number("SrcTransferType"), TFTPTransferType::ftpTypeAuto);
    const auto destType = EnumOf(number("DestTransferType"), TFTPTransferType::ftpTypeAuto);
    const auto fileSize = ParseNumber<std::int64_t>(text("FileSize").value_or(""));
    const auto srcPath = text("SrcPath");
    const auto destPath = text("DestPath");
    // An item that was to use TLS must never come back as plain FTP: a value out of range
    // leaves the item out. An absent value is an item from before TLS: plain FTP.
    const auto srcEncryption =
        EnumOf(number("SrcEncryption"), TFtpTlsMode::Implicit, TFtpTlsMode::None);
    const auto destEncryption =
        EnumOf(number("DestEncryption"), TFtpTlsMode::Implicit, TFtpTlsMode::None);
    if (!fileName || !IsEntryName(*fileName) || !direction || !srcType || !destType || !fileSize ||
        *fileSize < -1 || !srcPath || !destPath || !srcEncryption || !destEncryption) {
        return nullptr;
    }
    item->FileName = *fileName;
    item->Direction = *direction;
    item->IsFolder = number("IsFolder").value_or(0) != 0;
    item->SrcHostName = text("SrcHostName").value_or("");
    item->SrcPort = text("SrcPort").value_or("");
    item->SrcUserName = text("SrcUserName").value_or("");
    item->SrcPath = *srcPath;
    item->SrcTransferType = *srcType;
    item->DestHostName = text("DestHostName").value_or("");
    item->DestPort = text("DestPort").value_or("");
    item->DestUserName = text("DestUserName").value_or("");
    item->DestPath = *destPath;
    item->DestTransferType = *destType;
    item->ResumeTransfer = number("ResumeTransfer").value_or(0) != 0;
    item->FileSize = *fileSize;
    item->TypeName = text("TypeName").value_or("");
    item->PassiveMode = number("PassiveMode").value_or(0) != 0;
    item->SrcEncryption = *srcEncryption;
    item->DestEncryption = *destEncryption;
    item->Depth = std::max(0, number("Depth").value_or(0));
    item->LocalRoot = text("LocalRoot").value_or("");
    item->UploadToTemporaryName = number("UploadToTemporaryName").value_or(1) != 0;
    for (auto [name, offset] : {std::pair{"SrcTimeZoneOffset", &item->SrcTimeZoneOffset},
                                std::pair{"DestTimeZoneOffset", &item->DestTimeZoneOffset}}) {
        const auto value = number(name).value_or(0);
        *offset = std::abs(value) <= kMaxTimeZoneOffsetMinutes ? value : 0;
    }
    item->SrcNameCharset = text("SrcNameCharset").value_or("");
    item->DestNameCharset = text("DestNameCharset").value_or("");
    if (!ReadSsh(path, "Src", item->SrcProtocol, item->SrcSsh) ||
        !ReadSsh(path, "Dest", item->DestProtocol, item->DestSsh) ||
        !ReadProxy(*m_store, path, "Src", item->SrcProxy) ||
        !ReadProxy(*m_store, path, "Dest", item->DestProxy)) {
        return nullptr;
    }
    const TShellIcons& icons = SharedShellIcons();
    item->ImageIndex = item->IsFolder ? icons.FolderIconIndex : icons.GetIconIndex(item->FileName);
    return item;
}

void TQueueFile::KeepPasswords(const TFTPCarryItem& item) {
    if (m_passwords == nullptr) {
        return;
    }
    const auto keep = [this](const std::string& host, const std::string& port,
                             const std::string& user, const std::string& password) {
        if (!host.empty() && !password.empty() && !IsAnonymous(user) && m_passwords->Available()) {
            m_passwords->Store(KeyOf(host, port, user), password);
        }
    };
    keep(item.SrcHostName, item.SrcPort, item.SrcUserName, item.SrcPassword);
    keep(item.DestHostName, item.DestPort, item.DestUserName, item.DestPassword);
    for (const TProxySettings* proxy : {&item.SrcProxy, &item.DestProxy}) {
        if (proxy->Enabled() && !proxy->User.empty()) {
            keep(proxy->Host, std::to_string(proxy->Port), proxy->User, proxy->Password);
        }
    }
}

void TQueueFile::FillPasswords(TFTPCarryItem& item) {
    if (m_passwords == nullptr) {
        return;
    }
    const auto fill = [this](const std::string& host, const std::string& port,
                             const std::string& user, std::string& password) {
        if (host.empty() || IsAnonymous(user) || !m_passwords->Available()) {
            return;
        }
        const auto kept = m_passwords->Lookup(KeyOf(host, port, user));
        if (kept.Status == TPasswordStore::TLookup::Found) {
            password = kept.Password;
        }
    };
    fill(item.SrcHostName, item.SrcPort, item.SrcUserName, item.SrcPassword);
    fill(item.DestHostName, item.DestPort, item.DestUserName, item.DestPassword);
    for (TProxySettings* proxy : {&item.SrcProxy, &item.DestProxy}) {
        if (proxy->Enabled() && !proxy->User.empty()) {
            fill(proxy->Host, std::to_string(proxy->Port), proxy->User, proxy->Password);
        }
    }
}

} // namespace qx
