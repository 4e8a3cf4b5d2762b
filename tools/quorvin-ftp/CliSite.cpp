// SPDX-License-Identifier: GPL-3.0-or-later
#include "CliSite.h"

#include "platform/ConfigStore.h"
#include "platform/SecretPasswordStore.h"
#include "settings/GlobalOptions.h"
#include "settings/SiteBookModel.h"

#include <filesystem>
#include <system_error>

namespace qx::cli {

// The site book is read from the user's settings file in a read-only store: loading the book
// and the options changes the store, and the tool must never write the user's settings (a
// running program would see its own changes undone). Nothing is copied, so nothing is left
// behind however the tool ends. Passwords the program keeps in the keyring are read from it.
struct CliSite::Impl {
    TSecretPasswordStore passwords;
    std::unique_ptr<TConfigStore> store;
    std::unique_ptr<TGlobalOptions> options;
    std::unique_ptr<TSiteBookModel> book;
    const TSiteProperties* site = nullptr;
};

CliSite::CliSite() : m_impl(std::make_unique<Impl>()) {}

CliSite::~CliSite() = default;

std::unique_ptr<CliSite> CliSite::Open(const std::string& location, std::string& problem) {
    std::unique_ptr<CliSite> site(new CliSite());
    Impl& impl = *site->m_impl;
    const std::filesystem::path settings = TConfigStore::DefaultFile();
    std::error_code error;
    if (!std::filesystem::exists(settings, error)) {
        problem = "there is no site book (" + settings.string() + " does not exist)";
        return nullptr;
    }
    impl.store = std::make_unique<TConfigStore>(settings, TConfigStore::TOpenMode::ReadOnly);
    if (!impl.store->LoadProblem().empty()) {
        problem = impl.store->LoadProblem();
        return nullptr;
    }
    impl.options = std::make_unique<TGlobalOptions>(*impl.store, &impl.passwords);
    impl.book = std::make_unique<TSiteBookModel>(
        *impl.store, *impl.options, TSiteBookModel::CurrentUserName(), &impl.passwords);
    impl.book->Load();
    const TSiteBookNode* node = impl.book->FindByLocation(location);
    if (node == nullptr || !node->IsSite() || node->Properties() == nullptr) {
        problem = "the site book has no site [" + location + "]";
        return nullptr;
    }
    impl.site = node->Properties();
    return site;
}

CliTarget CliSite::Target() const {
    const TSiteProperties& site = *m_impl->site;
    CliTarget target;
    target.Host = site.HostName;
    target.Port = std::to_string(site.Port);
    target.User = site.UserName;
    target.Password = site.Password;
    target.InitialFolder = site.InitialFolder;
    target.LoginRetry = site.LoginRetry;
    target.ReloginDelay = site.ReloginDelay;
    target.Passive = site.PassiveMode;
    target.UseMlsd = site.UseMlsd;
    target.UploadToTemporaryName = site.UploadToTemporaryName;
    target.Encryption = site.Encryption;
    target.Resume = site.ResumeTransfer;
    target.Type = site.TransferType;
    target.Protocol = site.Protocol;
    target.Ssh = site.SshSettings();
    target.TimeZoneOffset = site.TimeZoneOffset;
    target.Proxy = ChosenProxy(site.ProxyMode, site.Proxy, m_impl->options->Proxy);
    target.NameCharset = site.NameCharset();
    if (!site.UseGlobalSpeedLimits) {
        target.DownloadLimit = site.SpeedLimits.Download;
        target.UploadLimit = site.SpeedLimits.Upload;
    }
    return target;
}

const TAsciiExtensions& CliSite::AsciiExtensions() const {
    return m_impl->options->ASCIIFileExts;
}

std::vector<std::string> DefaultAsciiExtensions() {
    return TGlobalOptions::DefaultASCIIFileExts();
}

} // namespace qx::cli
