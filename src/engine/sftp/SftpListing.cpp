// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/sftp/SftpListing.h"

#include "base/EntryNames.h"
#include "base/ShellIcons.h"
#include "engine/MlsdFacts.h"

#include <memory>

namespace qx::sftp {

void TSftpListingBuilder::Add(const TName& name) {
    using K = TMlsdEntry::TKind;
    if (name.FileName == "." || name.FileName == "..") {
        return; // every server lists them; nothing was dropped
    }
    if (!IsSafeEntryName(name.FileName)) {
        ++m_report.DroppedNames;
        return;
    }
    const TAttributes& attributes = name.Attributes;
    TMlsdEntry entry;
    entry.Name = name.FileName;
    // Without permissions a name is taken for a file: READDIR lists files and folders alike,
    // and a folder taken for a file only fails to download.
    entry.Kind = !attributes.Permissions  ? K::File
                 : attributes.IsFolder()  ? K::Folder
                 : attributes.IsLink()    ? K::Link
                 : attributes.IsRegular() ? K::File
                                          : K::Other;
    entry.Size = attributes.Size && *attributes.Size <= static_cast<std::uint64_t>(INT64_MAX)
                     ? static_cast<std::int64_t>(*attributes.Size)
                     : -1;
    if (attributes.ModifiedTime) {
        entry.ModifiedUtc = *attributes.ModifiedTime;
    }
    if (attributes.Permissions) {
        entry.UnixMode = *attributes.Permissions & 07777;
    }
    m_stream.AddEntry(entry);
}

namespace {

// One listing: its steps keep it alive through the client's callbacks.
class TListing : public std::enable_shared_from_this<TListing> {
public:
    TListing(TSftpClient& client, std::string path, TSftpClient::TListDone done)
        : m_client(client), m_path(std::move(path)), m_done(std::move(done)),
          m_builder(std::make_unique<TSftpListingBuilder>(m_items)) {}

    void Start() {
        m_client.OpenFolder(
            m_path, [self = shared_from_this()](const TSftpResult& result, std::string handle) {
                if (!result.Ok()) {
                    self->End(result);
                    return;
                }
                self->m_handle = std::move(handle);
                self->ReadMore();
            });
    }

private:
    void ReadMore() {
        m_client.ReadFolder(m_handle, [self = shared_from_this()](const TSftpResult& result,
                                                                  const std::vector<TName>& names) {
            if (result.Error == TSftpError::EndOfFile) {
                self->CloseFolder(TSftpResult::Success());
                return;
            }
            if (!result.Ok()) {
                self->CloseFolder(result);
                return;
            }
            if (names.empty()) {
                // A server that answers with no names and no end would make this loop for ever.
                self->CloseFolder(TSftpResult::Failed(
                    TSftpError::Protocol, "The server sent an empty part of the folder listing."));
                return;
            }
            self->m_received += names.size();
            if (self->m_received > kMaxListingEntries) {
                self->CloseFolder(TSftpResult::Failed(
                    TSftpError::Failure, "The folder has more than " +
                                             std::to_string(kMaxListingEntries) + " entries."));
                return;
            }
            for (const auto& name : names) {
                self->m_builder->Add(name);
            }
            self->ReadMore();
        });
    }

    void CloseFolder(const TSftpResult& result) {
        if (result.Fatal()) {
            End(result);
            return;
        }
        m_client.Close(m_handle, [self = shared_from_this(), result](const TSftpResult&) {
            if (!result.Ok()) {
                self->End(result);
            } else {
                self->ProbeLinks();
            }
        });
    }

    // Every link is looked at in one go: a STAT of its target and its target's text.
    void ProbeLinks() {
        m_report = m_builder->Report();
        m_builder.reset();
        for (const auto& item : m_items) {
            if (!item->IsLink) {
                continue;
            }
            TFTPListItem* link = item.get();
            const std::string path = JoinRemotePath(m_path, link->Name);
            m_probes += 2;
            m_client.Stat(path, [self = shared_from_this(), link](const TSftpResult& result,
                                                                  const TAttributes& target) {
                SetEntryKind(*link, !(result.Ok() && target.IsFolder()), SharedShellIcons());
                self->ProbeDone(result);
            });
            m_client.ReadLink(path, [self = shared_from_this(), link](const TSftpResult& result,
                                                                      std::string target) {
                if (result.Ok()) {
                    link->LinkTo = std::move(target);
                }
                self->ProbeDone(result);
            });
        }
        if (m_probes == 0) {
            End(TSftpResult::Success());
        }
    }

    void ProbeDone(const TSftpResult& result) {
        if (result.Fatal() && m_failure.Ok()) {
            m_failure = result;
        }
        if (--m_probes == 0) {
            End(m_failure);
        }
    }

    void End(const TSftpResult& result) {
        if (!m_done) {
            return;
        }
        auto done = std::move(m_done);
        m_done = nullptr;
        if (result.Ok()) {
            done(result, std::move(m_items), m_report);
        } else {
            done(result, TFTPListItems(), m_report);
        }
    }

    TSftpClient& m_client;
    std::string m_path;
    TSftpClient::TListDone m_done;
    TFTPListItems m_items;
    std::unique_ptr<TSftpListingBuilder> m_builder;
    TSftpListReport m_report;
    std::string m_handle;
    std::size_t m_received = 0;
    int m_probes = 0;
    TSftpResult m_failure;
};

} // namespace

void StartListing(TSftpClient& client, const std::string& path, TSftpClient::TListDone done) {
    std::make_shared<TListing>(client, path, std::move(done))->Start();
}

} // namespace qx::sftp
