// SPDX-License-Identifier: GPL-3.0-or-later
#include "queue/QueueFile.h"

#include "base/DecimalNumber.h"
#include "base/ShellIcons.h"
#include "base/TimeZoneOffset.h"
#include "engine/sftp/SshArguments.h"
#include "platform/ConfigStore.h"
#include "platform/PasswordStore.h"
#include "queue/QueueRecords.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <type_traits>

namespace qx {

namespace {

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
    return {host, ParseDecimal<std::int32_t>(port).value_or(21), user};
}

// Writes an item's values to the store and, as "V" records, to the log, so that an item that
// joins is on the disk with one short append instead of a rewrite of the whole file.
class TItemWriter {
public:
    TItemWriter(TConfigStore& store, const std::string& key, std::vector<std::string>& records)
        : m_store(store), m_key(key), m_path(QueueItemPath(key)), m_records(records) {
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

} // namespace

TQueueFile::TQueueFile(const std::filesystem::path& file, TPasswordStore* passwords)
    : m_store(std::make_unique<TConfigStore>(
          file, TConfigStore::TOpenMode::ReadWrite,
          TConfigFileRole{QX_TRANSLATE_NOOP("qx::Core", "transfer queue file"),
                          QX_TRANSLATE_NOOP("qx::Core", "an empty transfer queue")})),
      m_passwords(passwords) {
    m_hold.emplace(*m_store);
    ReplayLog();
    m_journal = std::make_unique<TQueueJournal>(file, m_store->Writable());
    m_journal->OnProblem = [this](const std::string& problem) {
        if (OnWriteProblem) {
            OnWriteProblem(problem);
        }
    };
}

// The records still on their way are written first; then the file whole, which takes them in.
TQueueFile::~TQueueFile() {
    m_journal.reset();
    m_hold.reset();
    if (m_store->Flush()) {
        TAppendLog(TQueueJournal::LogOf(m_store->File())).Clear();
        TAppendLog(TQueueJournal::AsideLogOf(m_store->File())).Clear();
    }
}

// The records set aside for a whole write that did not end come first.
void TQueueFile::ReplayLog() {
    if (!m_store->LoadProblem().empty()) {
        // The records belong to a file that was moved aside (new ones must not join them), or
        // that is left as it was found, with them, while nothing of this run is kept.
        if (m_store->Writable()) {
            TAppendLog(TQueueJournal::AsideLogOf(m_store->File())).Clear();
            TAppendLog(TQueueJournal::LogOf(m_store->File())).Clear();
        }
        return;
    }
    for (const auto& log :
         {TQueueJournal::AsideLogOf(m_store->File()), TQueueJournal::LogOf(m_store->File())}) {
        for (const std::string& record : TAppendLog(log).Read()) {
            Replay(record);
        }
    }
}

void TQueueFile::Replay(std::string_view record) {
    if (const auto id = ApplyQueueRecord(*m_store, record)) {
        m_nextId = std::max(m_nextId, *id + 1); // a key a record names is never given again
    }
}

std::filesystem::path TQueueFile::FileBeside(const std::filesystem::path& settingsFile) {
    return settingsFile.parent_path() / "queue.conf";
}

const std::string& TQueueFile::LoadProblem() const {
    return m_store->LoadProblem();
}

const TCoreMessage& TQueueFile::LoadMessage() const {
    return m_store->LoadMessage();
}

TQueueFile::TKept TQueueFile::TakeItems() {
    m_journal->Settle(); // the store is this thread's again until the next change
    TKept kept;
    for (const std::string& key : m_store->SubKeyNames(kQueueItemsKey)) {
        if (const auto id = ParseDecimal<std::uint64_t>(key)) {
            m_nextId = std::max(m_nextId, *id + 1);
        }
        std::unique_ptr<TFTPCarryItem> item = ReadItem(key);
        if (item == nullptr || m_keys.contains(item.get())) {
            ++kept.Unreadable;
            continue;
        }
        FillPasswords(*item);
        const std::string path = QueueItemPath(key);
        const bool failed = m_store->ReadString(path, "State") == kFailedState;
        m_keys.emplace(item.get(), TKeyOf{key, failed});
        if (failed) {
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

// Here only the keys are settled and the joining items copied; what the file holds changes on
// the journal's thread.
void TQueueFile::QueueChanged(const TCarrierQueueChange& change) {
    using TKind = TItemChange::TKind;
    std::vector<TItemChange> changes;
    const auto forget = [&](auto found) {
        changes.push_back({TKind::Forget, std::move(found->second.Key), nullptr, {}});
        m_keys.erase(found);
    };
    const auto join = [&](const TFTPCarryItem& item) {
        std::string key = NewKey();
        changes.push_back({TKind::Write, key, std::make_unique<TFTPCarryItem>(item), {}});
        KeepPasswords(item);
        return m_keys.emplace(&item, TKeyOf{std::move(key)}).first;
    };
    for (const TFTPCarryItem* item : change.Gone) {
        if (const auto found = m_keys.find(item); found != m_keys.end()) {
            forget(found);
        }
    }
    for (const TFTPCarryItem* item : change.Queued) {
        if (const auto found = m_keys.find(item); found != m_keys.end()) {
            if (!found->second.Failed) {
                continue; // brought back from the file, where it is already
            }
            forget(found); // resubmitted: to the end, as in the queue
        }
        join(*item);
    }
    if (change.Failed != nullptr) {
        auto found = m_keys.find(change.Failed);
        if (found == m_keys.end()) {
            found = join(*change.Failed);
        }
        found->second.Failed = true;
        changes.push_back({TKind::Fail, found->second.Key, nullptr, change.ErrorMessage});
    }
    if (!m_store->Writable() || changes.empty()) {
        return;
    }
    auto held = std::make_shared<std::vector<TItemChange>>(std::move(changes));
    m_journal->Add(
        [this, held](std::vector<std::string>& records) { ApplyChanges(*held, records); },
        m_keys.size());
}

void TQueueFile::ApplyChanges(std::vector<TItemChange>& changes,
                              std::vector<std::string>& records) {
    for (TItemChange& change : changes) {
        const std::string path = QueueItemPath(change.Key);
        switch (change.Kind) {
        case TItemChange::TKind::Forget:
            records.push_back("G " + change.Key);
            m_store->DeleteKey(path);
            break;
        case TItemChange::TKind::Write:
            WriteItem(change.Key, *change.Item, records);
            break;
        case TItemChange::TKind::Fail:
            m_store->WriteString(path, "State", kFailedState);
            m_store->WriteString(path, "ErrorMessage", change.ErrorMessage);
            records.push_back("F " + change.Key + " " + EscapeRecordField(change.ErrorMessage));
            break;
        }
    }
}

void TQueueFile::WriteItem(const std::string& key, const TFTPCarryItem& item,
                           std::vector<std::string>& records) {
    TItemWriter out(*m_store, key, records);
    const auto text = [&](std::string_view name, std::string_view value) { out.Text(name, value); };
    const auto number = [&](std::string_view name, std::int32_t value) { out.Number(name, value); };
    text("State", kQueuedState);
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
    const std::string path = QueueItemPath(key);
    const auto text = [&](std::string_view name) { return m_store->ReadString(path, name); };
    const auto number = [&](std::string_view name) { return m_store->ReadNumber(path, name); };
    auto item = std::make_unique<TFTPCarryItem>();
    const auto fileName = text("FileName");
    const auto direction = EnumOf(number("Direction"), TCarryDirection::ServerToServer);
    const auto srcType = EnumOf(number("SrcTransferType"), TFTPTransferType::ftpTypeAuto);
    const auto destType = EnumOf(number("DestTransferType"), TFTPTransferType::ftpTypeAuto);
    const auto fileSize = ParseDecimal<std::int64_t>(text("FileSize").value_or(""));
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
