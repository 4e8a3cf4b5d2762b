// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/SiteImport.h"

#include "base/Translatable.h"
#include "base/XmlReader.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <map>

namespace qx {

namespace {

constexpr const char* kNoHost = QX_TRANSLATE_NOOP("qx::Core", "%1: it names no host");

std::string Trimmed(std::string_view text) {
    const auto space = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
    while (!text.empty() && space(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && space(text.back())) {
        text.remove_suffix(1);
    }
    return std::string(text);
}

std::optional<int> Number(std::string_view text) {
    int value = 0;
    const std::string trimmed = Trimmed(text);
    const auto [end, error] =
        std::from_chars(trimmed.data(), trimmed.data() + trimmed.size(), value);
    if (trimmed.empty() || error != std::errc() || end != trimmed.data() + trimmed.size()) {
        return std::nullopt;
    }
    return value;
}

std::optional<std::string> Base64(std::string_view text) {
    std::string out;
    std::uint32_t bits = 0;
    int count = 0;
    for (const char c : text) {
        int value = 0;
        if (c >= 'A' && c <= 'Z') {
            value = c - 'A';
        } else if (c >= 'a' && c <= 'z') {
            value = c - 'a' + 26;
        } else if (c >= '0' && c <= '9') {
            value = c - '0' + 52;
        } else if (c == '+' || c == '/') {
            value = c == '+' ? 62 : 63;
        } else if (c == '=' || std::isspace(static_cast<unsigned char>(c)) != 0) {
            continue;
        } else {
            return std::nullopt;
        }
        bits = (bits << 6) | static_cast<std::uint32_t>(value);
        count += 6;
        if (count >= 8) {
            count -= 8;
            out += static_cast<char>((bits >> count) & 0xFF);
        }
    }
    return out;
}

std::string DefaultPort(const TImportedSite& site) {
    if (site.Protocol == TRemoteProtocolKind::Sftp) {
        return "22";
    }
    return site.Encryption == TFtpTlsMode::Implicit ? "990" : "21";
}

std::string Where(const TImportedSite& site) {
    std::string where;
    for (const std::string& folder : site.Folder) {
        where += folder + "/";
    }
    return "[" + where + site.Name + "]";
}

// "1 0 4 home 3 web": a kind, then length and text pairs, the first one a prefix ("C:").
std::optional<std::string> RemoteDirOf(std::string_view text) {
    std::vector<std::string> parts;
    std::size_t at = 0;
    const auto number = [&]() -> std::optional<std::size_t> {
        while (at < text.size() && text[at] == ' ') {
            ++at;
        }
        std::size_t value = 0;
        const auto [end, error] =
            std::from_chars(text.data() + at, text.data() + text.size(), value);
        if (error != std::errc()) {
            return std::nullopt;
        }
        at = static_cast<std::size_t>(end - text.data());
        return value;
    };
    if (Trimmed(text).empty()) {
        return std::string();
    }
    if (!number()) {
        return std::nullopt;
    }
    while (at < text.size() && Trimmed(text.substr(at)).size() > 0) {
        const auto length = number();
        if (!length) {
            return std::nullopt;
        }
        if (*length == 0) {
            parts.emplace_back();
            continue;
        }
        if (at >= text.size() || text[at] != ' ' || text.size() - at - 1 < *length) {
            return std::nullopt;
        }
        parts.emplace_back(text.substr(at + 1, *length));
        at += 1 + *length;
    }
    if (parts.empty()) {
        return std::nullopt;
    }
    std::string path = parts.front(); // the prefix
    for (std::size_t i = 1; i < parts.size(); ++i) {
        path += "/" + parts[i];
    }
    return parts.size() == 1 ? path + "/" : path;
}

class TFileZillaReader {
public:
    explicit TFileZillaReader(TSiteImport& result) : m_result(result) {}

    void Folder(const TXmlElement& folder, const std::vector<std::string>& path) {
        for (const TXmlElement& child : folder.Children) {
            if (child.Name == "Folder") {
                auto inner = path;
                inner.push_back(Trimmed(child.Text));
                Folder(child, inner);
            } else if (child.Name == "Server") {
                Server(child, path);
            }
        }
    }

private:
    void Server(const TXmlElement& server, const std::vector<std::string>& folder) {
        TImportedSite site;
        site.Folder = folder;
        site.Name = Trimmed(server.ChildText("Name"));
        if (site.Name.empty()) {
            site.Name = Trimmed(server.Text);
        }
        site.Host = Trimmed(server.ChildText("Host"));
        if (site.Name.empty()) {
            site.Name = site.Host;
        }
        const auto protocol = Number(server.ChildText("Protocol"));
        switch (protocol.value_or(0)) {
        case 0:
            site.Encryption = TFtpTlsMode::ExplicitIfAvailable;
            break;
        case 1:
            site.Protocol = TRemoteProtocolKind::Sftp;
            break;
        case 3:
            site.Encryption = TFtpTlsMode::Implicit;
            break;
        case 4:
            site.Encryption = TFtpTlsMode::ExplicitRequired;
            break;
        case 6:
            break; // plain FTP
        default:
            return Note(site,
                        QX_TRANSLATE_NOOP("qx::Core",
                                          "%1: its protocol (%2) is not one this program speaks"),
                        server.ChildText("Protocol"));
        }
        if (site.Host.empty()) {
            return Note(site, kNoHost);
        }
        site.Port = Trimmed(server.ChildText("Port"));
        if (site.Port.empty() || Number(site.Port).value_or(0) <= 0) {
            site.Port = DefaultPort(site);
        }
        Login(server, site);
        if (const auto remote = RemoteDirOf(server.ChildText("RemoteDir"))) {
            site.RemoteFolder = *remote;
        } else {
            Note(site, QX_TRANSLATE_NOOP(
                           "qx::Core", "%1: its remote folder could not be read and was left out"));
        }
        site.LocalFolder = Trimmed(server.ChildText("LocalDir"));
        const std::string passive = Trimmed(server.ChildText("PasvMode"));
        if (passive == "MODE_ACTIVE" || passive == "MODE_PASSIVE") {
            site.Passive = passive == "MODE_PASSIVE";
        }
        site.TimeZoneOffsetMinutes = Number(server.ChildText("TimezoneOffset")).value_or(0);
        m_result.Sites.push_back(std::move(site));
    }

    void Login(const TXmlElement& server, TImportedSite& site) {
        const int type = Number(server.ChildText("Logontype")).value_or(1);
        site.User = server.ChildText("User");
        if (type == 0) {
            site.User = "anonymous";
            return;
        }
        if (type == 5) {
            site.KeyFile = Trimmed(server.ChildText("Keyfile"));
        }
        const TXmlElement* pass = server.Child("Pass");
        if (pass == nullptr || type == 2 || type == 3) {
            return; // asked for at each login
        }
        const std::string* encoding = pass->Attribute("encoding");
        if (encoding == nullptr) {
            site.Password = pass->Text;
        } else if (*encoding == "base64") {
            site.Password = Base64(pass->Text);
            if (!site.Password) {
                Note(site,
                     QX_TRANSLATE_NOOP("qx::Core",
                                       "%1: its password could not be decoded and was left out"));
            }
        } else {
            Note(site, QX_TRANSLATE_NOOP(
                           "qx::Core",
                           "%1: its password is kept under a master password and was left out"));
        }
    }

    void Note(const TImportedSite& site, const char* format, std::string detail = {}) {
        m_result.Notes.emplace_back(format,
                                    std::vector<TCoreMessage>{Where(site), std::move(detail)});
    }

    TSiteImport& m_result;
};

std::optional<TSiteImport> ReadFileZilla(std::string_view text, TCoreMessage& error) {
    std::string xmlError;
    const auto root = ParseXml(text, xmlError);
    if (!root) {
        error = xmlError;
        return std::nullopt;
    }
    if (root->Name != "FileZilla3") {
        error = {QX_TRANSLATE_NOOP("qx::Core",
                                   "the XML file is no site manager file (its root is <%1>)"),
                 {root->Name}};
        return std::nullopt;
    }
    TSiteImport result;
    TFileZillaReader reader(result);
    for (const TXmlElement& child : root->Children) {
        if (child.Name == "Servers") {
            reader.Folder(child, {});
        }
    }
    return result;
}

std::string UrlDecoded(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        unsigned value = 0;
        if (text[i] == '%' && i + 2 < text.size() &&
            std::from_chars(text.data() + i + 1, text.data() + i + 3, value, 16).ptr ==
                text.data() + i + 3) {
            out += static_cast<char>(value);
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

void WinScpSession(const std::string& name, const std::map<std::string, std::string>& values,
                   TSiteImport& result) {
    const auto value = [&](const char* key) {
        const auto found = values.find(key);
        return found == values.end() ? std::string() : UrlDecoded(found->second);
    };
    TImportedSite site;
    std::string path = UrlDecoded(name);
    for (std::size_t slash; (slash = path.find('/')) != std::string::npos;) {
        site.Folder.push_back(path.substr(0, slash));
        path.erase(0, slash + 1);
    }
    site.Name = path;
    site.Host = Trimmed(value("HostName"));
    const std::string protocol = value("FSProtocol");
    switch (Number(protocol).value_or(2)) {
    case 1:
    case 2:
        site.Protocol = TRemoteProtocolKind::Sftp;
        break;
    case 5: {
        const int ftps = Number(value("Ftps")).value_or(0);
        site.Encryption = ftps == 1   ? TFtpTlsMode::Implicit
                          : ftps >= 2 ? TFtpTlsMode::ExplicitRequired
                                      : TFtpTlsMode::None;
        break;
    }
    default: {
        static const std::map<std::string, std::string> kOthers = {
            {"0", "SCP"}, {"6", "WebDAV"}, {"7", "S3"}};
        const auto known = kOthers.find(Trimmed(protocol));
        result.Notes.emplace_back(
            known != kOthers.end()
                ? QX_TRANSLATE_NOOP("qx::Core", "%1: %2 is not a protocol this program speaks")
                : QX_TRANSLATE_NOOP("qx::Core",
                                    "%1: its protocol (%2) is not a protocol this program speaks"),
            std::vector<TCoreMessage>{Where(site),
                                      known != kOthers.end() ? known->second : protocol});
        return;
    }
    }
    if (site.Host.empty()) {
        result.Notes.emplace_back(kNoHost, std::vector<TCoreMessage>{Where(site)});
        return;
    }
    site.Port = Trimmed(value("PortNumber"));
    if (site.Port.empty()) {
        site.Port = DefaultPort(site);
    }
    site.User = value("UserName");
    site.RemoteFolder = value("RemoteDirectory");
    site.LocalFolder = value("LocalDirectory");
    site.KeyFile = value("PublicKeyFile");
    if (values.contains("Password")) {
        result.Notes.emplace_back(QX_TRANSLATE_NOOP("qx::Core",
                                                    "%1: its stored password was not imported; "
                                                    "enter it in the site's properties"),
                                  std::vector<TCoreMessage>{Where(site)});
    }
    result.Sites.push_back(std::move(site));
}

std::optional<TSiteImport> ReadWinScp(std::string_view text, TCoreMessage& error) {
    TSiteImport result;
    std::optional<std::string> session; // the name of the [Sessions\...] group being read
    std::map<std::string, std::string> values;
    const auto finish = [&] {
        if (session && *session != "Default%20Settings") {
            WinScpSession(*session, values, result);
        }
        session.reset();
        values.clear();
    };
    std::size_t number = 0;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        const std::string line = Trimmed(text.substr(0, end));
        text.remove_prefix(std::min(end + 1, text.size()));
        ++number;
        if (line.empty() || line.front() == ';' || line.front() == '#') {
            continue;
        }
        if (line.front() == '[') {
            if (line.back() != ']') {
                error = {QX_TRANSLATE_NOOP("qx::Core", "line %1: a group name without its \"]\""),
                         {std::to_string(number)}};
                return std::nullopt;
            }
            finish();
            const std::string group = line.substr(1, line.size() - 2);
            if (group.starts_with("Sessions\\")) {
                session = group.substr(9);
            }
            continue;
        }
        const std::size_t equals = line.find('=');
        if (equals == std::string::npos) {
            error = {
                QX_TRANSLATE_NOOP("qx::Core", "line %1: neither a group nor a name=value line"),
                {std::to_string(number)}};
            return std::nullopt;
        }
        if (session) {
            values[Trimmed(line.substr(0, equals))] = line.substr(equals + 1);
        }
    }
    finish();
    return result;
}

} // namespace

std::optional<TSiteImport> ReadSiteList(std::string_view text, TCoreMessage& error) {
    const std::string start = Trimmed(text.substr(0, std::min<std::size_t>(text.size(), 4096)));
    if (start.starts_with("<") || start.starts_with("\xEF\xBB\xBF<")) {
        return ReadFileZilla(text, error);
    }
    if (text.find("[Sessions\\") != std::string_view::npos) {
        return ReadWinScp(text, error);
    }
    error = QX_TRANSLATE_NOOP("qx::Core", "the file is neither a site manager XML file nor an INI "
                                          "file with [Sessions\\...] groups");
    return std::nullopt;
}

} // namespace qx
