// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ConfigStore.h"

#include "base/Translatable.h"
#include "platform/ConfigFile.h"
#include "platform/ConfigText.h"
#include "platform/ConfigTree.h"
#include "platform/UniqueFd.h"

#include <fcntl.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <variant>

namespace qx {

namespace {

std::string ErrorText(int error) {
    return std::strerror(error);
}

} // namespace

struct TConfigStore::Impl {
    std::filesystem::path File;
    TConfigFileRole Role;
    mutable std::mutex Mutex;
    TConfigKey Root;
    int BatchDepth = 0;
    bool Dirty = false;
    // The existing file could neither be read nor moved aside: it is never replaced.
    bool KeepFile = false;
    bool ReadOnly = false;
    TCoreMessage LoadMessage;
    std::string LoadProblem; // the message in English

    void Load();
    bool Save();
    bool Changed(bool changed);
    const TConfigKey* Find(std::string_view path) const;
    TConfigKey* Find(std::string_view path);

    template <typename T>
    std::optional<T> Read(std::string_view path, std::string_view name) const {
        std::lock_guard lock(Mutex);
        const TConfigKey* key = Find(path);
        const TConfigValue* value = key != nullptr ? FindValue(*key, name) : nullptr;
        const T* data = value != nullptr ? std::get_if<T>(&value->Data) : nullptr;
        return data != nullptr ? std::optional<T>(*data) : std::nullopt;
    }

    bool Write(std::string_view path, std::string_view name, TConfigValueData data) {
        std::lock_guard lock(Mutex);
        TConfigKey* key = Find(path);
        return key != nullptr && Changed(SetValue(*key, name, std::move(data)));
    }
};

void TConfigStore::Impl::Load() {
    const UniqueFd fd(::open(File.c_str(), O_RDONLY | O_CLOEXEC));
    int error = errno;
    std::optional<std::string> text;
    if (fd) {
        text = ReadWholeFile(fd.get(), error);
    } else if (error == ENOENT) {
        return;
    }
    if (!text) {
        if (ReadOnly) {
            LoadMessage = {QX_TRANSLATE_NOOP("qx::Core", "cannot read the %1 %2: %3"),
                           {Role.Name, File.string(), ErrorText(error)}};
            LoadProblem = LoadMessage.Text();
            return;
        }
        KeepFile = true;
        LoadMessage = {QX_TRANSLATE_NOOP("qx::Core",
                                         "cannot read the %1 %2: %3.\nThe program starts with %4. "
                                         "The file is left as it is, and changes made in this "
                                         "session are not saved."),
                       {Role.Name, File.string(), ErrorText(error), Role.StartsWith}};
        LoadProblem = LoadMessage.Text();
        std::fprintf(stderr, "Quorvin Explorer: %s\n", LoadProblem.c_str());
        return;
    }
    try {
        Root = ParseConfigText(*text);
    } catch (const TConfigParseError& damage) {
        std::vector<TCoreMessage> args{Role.Name, File.string(), std::to_string(damage.Line),
                                       damage.Problem};
        if (ReadOnly) {
            LoadMessage = {QX_TRANSLATE_NOOP("qx::Core", "the %1 %2 is damaged (line %3: %4)"),
                           std::move(args)};
        } else if (const auto moved = MoveFileAside(File, error)) {
            args.insert(args.end(), {moved->string(), Role.StartsWith});
            LoadMessage = {QX_TRANSLATE_NOOP("qx::Core",
                                             "the %1 %2 is damaged (line %3: %4).\nIt has been "
                                             "moved to %5. The program starts with %6."),
                           std::move(args)};
        } else {
            KeepFile = true;
            args.insert(args.end(), {ErrorText(error), Role.StartsWith});
            LoadMessage = {QX_TRANSLATE_NOOP("qx::Core",
                                             "the %1 %2 is damaged (line %3: %4).\nIt cannot be "
                                             "moved aside (%5). The program starts with %6. The "
                                             "file is left as it is, and changes made in this "
                                             "session are not saved."),
                           std::move(args)};
        }
        LoadProblem = LoadMessage.Text();
        if (!ReadOnly) {
            std::fprintf(stderr, "Quorvin Explorer: %s\n", LoadProblem.c_str());
        }
    }
}

bool TConfigStore::Impl::Save() {
    if (!Dirty) {
        return true;
    }
    if (ReadOnly) {
        return true; // changes stay in memory
    }
    if (KeepFile || !ReplaceFileAtomically(File, ConfigText(Root))) {
        return false;
    }
    Dirty = false;
    return true;
}

// After a change has been made in memory: writes the file unless a batch is open. A change that
// cannot reach the file stays in memory and goes out with the next write.
bool TConfigStore::Impl::Changed(bool changed) {
    Dirty = Dirty || changed;
    return BatchDepth > 0 || Save();
}

const TConfigKey* TConfigStore::Impl::Find(std::string_view path) const {
    const auto names = SplitKeyPath(path);
    return names ? FindKey(Root, *names, names->size()) : nullptr;
}

TConfigKey* TConfigStore::Impl::Find(std::string_view path) {
    const auto names = SplitKeyPath(path);
    return names ? FindKey(Root, *names, names->size()) : nullptr;
}

TConfigStore::TConfigStore(std::filesystem::path file, TOpenMode mode, TConfigFileRole role)
    : m_impl(std::make_unique<Impl>()) {
    m_impl->File = std::move(file);
    m_impl->Role = role;
    m_impl->ReadOnly = mode == TOpenMode::ReadOnly;
    if (!m_impl->ReadOnly) {
        CreatePrivateFolders(FolderOfFile(m_impl->File));
    }
    m_impl->Load();
}

const std::string& TConfigStore::LoadProblem() const {
    return m_impl->LoadProblem;
}

const TCoreMessage& TConfigStore::LoadMessage() const {
    return m_impl->LoadMessage;
}

TConfigStore::~TConfigStore() {
    std::lock_guard lock(m_impl->Mutex);
    m_impl->Save();
}

std::filesystem::path TConfigStore::DefaultFile() {
    std::filesystem::path base;
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config != nullptr && config[0] == '/') {
        base = config;
    } else {
        const char* home = std::getenv("HOME");
        base = std::filesystem::path(home != nullptr ? home : "") / ".config";
    }
    return base / "quorvin-explorer" / "settings.conf";
}

const std::filesystem::path& TConfigStore::File() const {
    return m_impl->File;
}

bool TConfigStore::KeyExists(std::string_view path) const {
    std::lock_guard lock(m_impl->Mutex);
    return m_impl->Find(path) != nullptr;
}

bool TConfigStore::CreateKey(std::string_view path) {
    std::lock_guard lock(m_impl->Mutex);
    const auto names = SplitKeyPath(path);
    if (!names) {
        return false;
    }
    TConfigKey* key = nullptr;
    return m_impl->Changed(CreateKeys(m_impl->Root, *names, names->size(), key));
}

bool TConfigStore::DeleteKey(std::string_view path) {
    std::lock_guard lock(m_impl->Mutex);
    const auto names = SplitKeyPath(path);
    if (!names || names->empty()) {
        return false;
    }
    TConfigKey* parent = FindKey(m_impl->Root, *names, names->size() - 1);
    if (parent == nullptr) {
        return false;
    }
    const TConfigKey* found = FindSubKey(*parent, names->back());
    if (found == nullptr) {
        return false;
    }
    TakeSubKey(*parent, *found);
    return m_impl->Changed(true);
}

bool TConfigStore::MoveKey(std::string_view from, std::string_view to) {
    std::lock_guard lock(m_impl->Mutex);
    const auto source = SplitKeyPath(from);
    const auto target = SplitKeyPath(to);
    if (!source || !target || source->empty() || target->empty()) {
        return false;
    }
    if (target->size() >= source->size() &&
        std::equal(source->begin(), source->end(), target->begin(), AsciiEqualNoCase)) {
        return false; // the target is the source or lies inside it
    }
    TConfigKey* sourceParent = FindKey(m_impl->Root, *source, source->size() - 1);
    if (sourceParent == nullptr || FindSubKey(*sourceParent, source->back()) == nullptr ||
        FindKey(m_impl->Root, *target, target->size()) != nullptr) {
        return false;
    }
    TConfigKey* targetParent = nullptr;
    CreateKeys(m_impl->Root, *target, target->size() - 1, targetParent);
    std::unique_ptr<TConfigKey> moved =
        TakeSubKey(*sourceParent, *FindSubKey(*sourceParent, source->back()));
    moved->Name = target->back();
    AddSubKey(*targetParent, std::move(moved));
    return m_impl->Changed(true);
}

std::vector<std::string> TConfigStore::SubKeyNames(std::string_view path) const {
    std::lock_guard lock(m_impl->Mutex);
    std::vector<std::string> names;
    if (const TConfigKey* key = m_impl->Find(path)) {
        for (const auto& sub : key->SubKeys) {
            names.push_back(sub->Name);
        }
    }
    return names;
}

std::vector<std::string> TConfigStore::ValueNames(std::string_view path) const {
    std::lock_guard lock(m_impl->Mutex);
    std::vector<std::string> names;
    if (const TConfigKey* key = m_impl->Find(path)) {
        for (const TConfigValue& value : key->Values) {
            names.push_back(value.Name);
        }
    }
    return names;
}

bool TConfigStore::ValueExists(std::string_view path, std::string_view name) const {
    return ValueType(path, name).has_value();
}

std::optional<TConfigStore::TValueType> TConfigStore::ValueType(std::string_view path,
                                                                std::string_view name) const {
    std::lock_guard lock(m_impl->Mutex);
    const TConfigKey* key = m_impl->Find(path);
    const TConfigValue* value = key != nullptr ? FindValue(*key, name) : nullptr;
    if (value == nullptr) {
        return std::nullopt;
    }
    constexpr TValueType types[] = {TValueType::String, TValueType::Number, TValueType::Binary};
    return types[value->Data.index()];
}

std::optional<std::string> TConfigStore::ReadString(std::string_view path,
                                                    std::string_view name) const {
    return m_impl->Read<std::string>(path, name);
}

std::optional<std::int32_t> TConfigStore::ReadNumber(std::string_view path,
                                                     std::string_view name) const {
    return m_impl->Read<std::int32_t>(path, name);
}

std::optional<std::vector<std::uint8_t>> TConfigStore::ReadBinary(std::string_view path,
                                                                  std::string_view name) const {
    return m_impl->Read<std::vector<std::uint8_t>>(path, name);
}

bool TConfigStore::WriteString(std::string_view path, std::string_view name,
                               std::string_view value) {
    return m_impl->Write(path, name, std::string(value));
}

bool TConfigStore::WriteNumber(std::string_view path, std::string_view name, std::int32_t value) {
    return m_impl->Write(path, name, value);
}

bool TConfigStore::WriteBinary(std::string_view path, std::string_view name,
                               const std::vector<std::uint8_t>& value) {
    return m_impl->Write(path, name, value);
}

bool TConfigStore::DeleteValue(std::string_view path, std::string_view name) {
    std::lock_guard lock(m_impl->Mutex);
    TConfigKey* key = m_impl->Find(path);
    const TConfigValue* value = key != nullptr ? FindValue(*key, name) : nullptr;
    if (value == nullptr) {
        return false;
    }
    key->Values.erase(key->Values.begin() + (value - key->Values.data()));
    return m_impl->Changed(true);
}

bool TConfigStore::Flush() {
    std::lock_guard lock(m_impl->Mutex);
    return m_impl->Save();
}

bool TConfigStore::Writable() const {
    std::lock_guard lock(m_impl->Mutex);
    return !m_impl->ReadOnly && !m_impl->KeepFile;
}

std::string TConfigStore::Text() const {
    std::lock_guard lock(m_impl->Mutex);
    return ConfigText(m_impl->Root);
}

TConfigBatch::TConfigBatch(TConfigStore& store) : m_store(store) {
    std::lock_guard lock(m_store.m_impl->Mutex);
    ++m_store.m_impl->BatchDepth;
}

TConfigBatch::~TConfigBatch() {
    std::lock_guard lock(m_store.m_impl->Mutex);
    if (--m_store.m_impl->BatchDepth == 0) {
        m_store.m_impl->Save();
    }
}

} // namespace qx
