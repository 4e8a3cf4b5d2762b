// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/SiteBookTransfer.h"

#include "base/AsciiText.h"
#include "base/Translatable.h"
#include "platform/ConfigFile.h"
#include "platform/ConfigStore.h"
#include "platform/ConfigText.h"
#include "settings/GlobalOptions.h"
#include "settings/SiteBookModel.h"
#include "settings/SiteImport.h"
#include "settings/StoreKeys.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <map>

namespace qx {

namespace {

// The remote explorer keeps the folder its downloads go to first in the site's key.
constexpr std::string_view kDownloadFolderValue = "DownloadtoFolderPath";
constexpr std::int64_t kLargestSiteFile = 16 * 1024 * 1024;
constexpr TConfigFileRole kSiteFileRole{QX_TRANSLATE_NOOP("qx::Core", "site book file"),
                                        QX_TRANSLATE_NOOP("qx::Core", "no sites")};

std::string LocationOf(const std::vector<std::string>& folder, const std::string& name) {
    std::string location;
    for (const std::string& part : folder) {
        location += "\\" + part;
    }
    return location + "\\" + name;
}

// "file: reason", the reason a message of its own or the C library's text.
TCoreMessage FileProblem(const std::filesystem::path& file, TCoreMessage reason) {
    return {QX_TRANSLATE_NOOP("qx::Core", "%1: %2"), {file.string(), std::move(reason)}};
}

std::optional<std::string> ReadSmallFile(const std::filesystem::path& file, TCoreMessage& error) {
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        error = FileProblem(file, std::string(std::strerror(errno)));
        return std::nullopt;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size > kLargestSiteFile) {
        ::close(fd);
        error = FileProblem(file, QX_TRANSLATE_NOOP("qx::Core", "not a site list (not a regular "
                                                                "file of at most 16 MiB)"));
        return std::nullopt;
    }
    int readError = 0;
    auto text = ReadWholeFile(fd, readError);
    ::close(fd);
    if (!text) {
        error = FileProblem(file, std::string(std::strerror(readError)));
    }
    return text;
}

// This program's own export: a settings file holding the site book's tree.
bool IsOwnExport(std::string_view text) {
    try {
        const TConfigKey root = ParseConfigText(text);
        const TConfigKey* key = &root;
        for (const std::string_view name : {"Software", "Quorvin Explorer", "SiteBook", "Tree"}) {
            key = key != nullptr ? FindSubKey(*key, name) : nullptr;
        }
        return key != nullptr;
    } catch (const TConfigParseError&) {
        return false;
    }
}

void CollectSites(const TSiteBookNode& node, std::vector<std::string>& folder, TSitesToAdd& result,
                  const TConfigStore& store) {
    for (const auto& child : node.Children()) {
        if (child->IsSite()) {
            auto properties = std::make_unique<TSiteProperties>(*child->Properties());
            properties->SiteNode = nullptr;
            const std::string key = TSiteBookModel::NodeKeyPath(*child);
            result.Sites.push_back({folder, child->Text(), std::move(properties),
                                    store.ReadString(key, kDownloadFolderValue).value_or("")});
        } else {
            folder.push_back(child->Text());
            CollectSites(*child, folder, result, store);
            folder.pop_back();
        }
    }
}

std::optional<TSitesToAdd> ReadOwnExport(const std::filesystem::path& file,
                                         const TGlobalOptions& options, TCoreMessage& error) {
    TConfigStore store(file, TConfigStore::TOpenMode::ReadOnly, kSiteFileRole);
    if (!store.LoadProblem().empty()) {
        error = store.LoadMessage();
        return std::nullopt;
    }
    TSiteBookModel book(store, options, {});
    book.Load();
    TSitesToAdd result;
    std::vector<std::string> folder;
    CollectSites(book.Root(), folder, result, store);
    return result;
}

TSitesToAdd FromOtherClient(TSiteImport import, const TGlobalOptions& options) {
    TSitesToAdd result;
    result.Notes = std::move(import.Notes);
    for (TImportedSite& site : import.Sites) {
        auto properties = std::make_unique<TSiteProperties>(options);
        properties->Protocol = site.Protocol;
        properties->Encryption = site.Encryption;
        properties->HostName = site.Host;
        int port = 0;
        const auto [end, problem] =
            std::from_chars(site.Port.data(), site.Port.data() + site.Port.size(), port);
        properties->Port =
            problem == std::errc() && end == site.Port.data() + site.Port.size() ? port : 0;
        properties->UserName = site.User;
        properties->Password = site.Password.value_or("");
        properties->SshKeyFile = site.KeyFile;
        properties->InitialFolder = site.RemoteFolder;
        properties->PassiveMode = site.Passive.value_or(properties->PassiveMode);
        properties->TimeZoneOffset = site.TimeZoneOffsetMinutes;
        result.Sites.push_back({std::move(site.Folder), std::move(site.Name), std::move(properties),
                                std::move(site.LocalFolder)});
    }
    return result;
}

// What the book holds, and what this import adds, by location in lower case: a dry run must
// find the clashes a real one would.
class TTakenNames {
public:
    explicit TTakenNames(const TSiteBookNode& target) { Collect(target, ""); }

    // The kind at a location: none, a folder or a site.
    enum class Kind { None, Folder, Site };
    Kind At(const std::string& location) const {
        const auto found = m_taken.find(AsciiLowerCase(location));
        return found == m_taken.end() ? Kind::None : found->second;
    }
    void Take(const std::string& location, Kind kind) {
        m_taken.emplace(AsciiLowerCase(location), kind);
    }

private:
    void Collect(const TSiteBookNode& node, const std::string& location) {
        for (const auto& child : node.Children()) {
            const std::string inner = location + "\\" + child->Text();
            Take(inner, child->IsSite() ? Kind::Site : Kind::Folder);
            Collect(*child, inner);
        }
    }

    std::map<std::string, Kind> m_taken;
};

bool ValidNodeName(const std::string& name) {
    return !name.empty() && name.find('\\') == std::string::npos;
}

// A marked "[%1]: ...; left out", %1 the site's location.
const char* WhyNotAdded(const TSiteToAdd& site, const TTakenNames& taken) {
    if (!ValidNodeName(site.Name) || !std::ranges::all_of(site.Folder, ValidNodeName)) {
        return QX_TRANSLATE_NOOP("qx::Core", "[%1]: a name is empty or holds \"\\\"; left out");
    }
    if (site.Properties == nullptr || site.Properties->Port < 1 || site.Properties->Port > 65535) {
        return QX_TRANSLATE_NOOP("qx::Core", "[%1]: its port is not a port number; left out");
    }
    std::string folderLocation;
    for (const std::string& folder : site.Folder) {
        folderLocation += "\\" + folder;
        if (taken.At(folderLocation) == TTakenNames::Kind::Site) {
            return QX_TRANSLATE_NOOP(
                "qx::Core", "[%1]: a site of the book has the name of its folder; left out");
        }
    }
    if (taken.At(LocationOf(site.Folder, site.Name)) != TTakenNames::Kind::None) {
        return QX_TRANSLATE_NOOP("qx::Core", "[%1]: the site book has this name already; left out");
    }
    return nullptr;
}

} // namespace

std::optional<TSitesToAdd> ReadSitesFile(const std::filesystem::path& file,
                                         const TGlobalOptions& options, TCoreMessage& error) {
    const auto text = ReadSmallFile(file, error);
    if (!text) {
        return std::nullopt;
    }
    if (IsOwnExport(*text)) {
        return ReadOwnExport(file, options, error);
    }
    TCoreMessage why;
    auto import = ReadSiteList(*text, why);
    if (!import) {
        error = FileProblem(file, std::move(why));
        return std::nullopt;
    }
    return FromOtherClient(std::move(*import), options);
}

TSiteBookImportReport AddSites(TSiteBookModel& book, TSiteBookNode& target, TSitesToAdd& sites,
                               bool dryRun) {
    TSiteBookImportReport report;
    report.Notes = sites.Notes;
    TTakenNames taken(target);
    std::optional<TConfigBatch> oneWrite;
    if (!dryRun) {
        oneWrite.emplace(book.Store());
    }
    const std::string top = target.IsRoot() ? std::string() : TSiteBookModel::NodeLocation(target);
    for (TSiteToAdd& site : sites.Sites) {
        const std::string location = LocationOf(site.Folder, site.Name);
        if (const char* why = WhyNotAdded(site, taken)) {
            report.Notes.emplace_back(why, std::vector<TCoreMessage>{top + location});
            continue;
        }
        if (!dryRun) {
            TSiteBookNode* folder = &target;
            for (const std::string& name : site.Folder) {
                folder = folder != nullptr ? book.FolderNamed(*folder, name).Node : nullptr;
            }
            const auto created =
                folder != nullptr ? book.CreateSite(*folder, site.Name, std::move(site.Properties))
                                  : TSiteBookCreateResult{};
            if (created.Node == nullptr) {
                report.Notes.emplace_back(
                    QX_TRANSLATE_NOOP("qx::Core", "[%1]: %2; left out"),
                    std::vector<TCoreMessage>{top + location,
                                              created.Message.Empty()
                                                  ? TCoreMessage(QX_TRANSLATE_NOOP(
                                                        "qx::Core", "its folder cannot be made"))
                                                  : created.Message.Text});
                continue;
            }
            if (!site.LocalFolder.empty()) {
                book.Store().WriteString(TSiteBookModel::NodeKeyPath(*created.Node),
                                         kDownloadFolderValue, site.LocalFolder);
            }
        }
        std::string folderLocation;
        for (const std::string& folder : site.Folder) {
            folderLocation += "\\" + folder;
            taken.Take(folderLocation, TTakenNames::Kind::Folder);
        }
        taken.Take(location, TTakenNames::Kind::Site);
        report.Added.push_back(top + location);
    }
    return report;
}

bool ExportSiteBook(const TSiteBookModel& book, const std::filesystem::path& file,
                    bool withPasswords, TCoreMessage& error) {
    const std::filesystem::path folder = FolderOfFile(file);
    std::string pattern = (folder / ("." + file.filename().string() + ".XXXXXX")).string();
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0) {
        error = FileProblem(file, std::string(std::strerror(errno)));
        return false;
    }
    ::close(fd);
    const std::filesystem::path temporary(pattern);
    bool written = false;
    {
        TConfigStore out(temporary, TConfigStore::TOpenMode::ReadWrite, kSiteFileRole);
        TConfigBatch batch(out);
        const auto write = [&](const auto& self, const TSiteBookNode& node) -> void {
            const std::string path = TSiteBookModel::NodeKeyPath(node);
            out.CreateKey(path);
            out.WriteString(path, "", node.IsSite() ? "Site" : "Folder");
            if (const TSiteProperties* site = node.Properties()) {
                TSiteProperties copy(*site);
                if (!withPasswords) {
                    copy.Password.clear();
                    copy.PasswordUnread = false;
                }
                copy.SaveToStore(out, path, nullptr);
                if (auto local = book.Store().ReadString(path, kDownloadFolderValue)) {
                    out.WriteString(path, kDownloadFolderValue, *local);
                }
            }
            for (const auto& child : node.Children()) {
                self(self, *child);
            }
        };
        write(write, book.Root());
        written = out.Flush();
    }
    if (!written || ::chmod(temporary.c_str(), 0600) != 0 ||
        ::rename(temporary.c_str(), file.c_str()) != 0) {
        error = FileProblem(file, QX_TRANSLATE_NOOP("qx::Core", "cannot be written"));
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        return false;
    }
    return true;
}

} // namespace qx
