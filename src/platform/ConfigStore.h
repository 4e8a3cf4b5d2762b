// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/CoreMessage.h"
#include "base/Translatable.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qx {

// What a store's file is to the user, for the messages about a file that cannot be read: texts
// marked in "qx::Core".
struct TConfigFileRole {
    const char* Name = QX_TRANSLATE_NOOP("qx::Core", "settings file");
    const char* StartsWith = QX_TRANSLATE_NOOP("qx::Core", "default settings"); // "starts with ..."
};

// The per-user configuration store: a tree of keys addressed by paths such as
// "\Software\Quorvin Explorer\GlobalOptions". Each key has named values (a string, a 32-bit
// number or binary data), an unnamed default value (the name ""), and subkeys. Key and value
// names compare without regard to the case of ASCII letters but keep the case they were
// written with.
//
// The whole tree lives in one readable text file, rewritten atomically (temporary file, fsync,
// rename) after every change or, inside a TConfigBatch, once at its end, so a crash leaves the
// old file or the new one, never a torn one. A file that cannot be read is moved aside with a
// message on standard error (and in LoadProblem()) and the store starts empty.
//
// A change is made in memory even when the file cannot be written (the call then returns
// false); it reaches the file with the next successful write. When an existing file can neither
// be read nor moved aside (permissions), it is reported, left as it is and never replaced in
// this session.
//
// Calls are serialised by an internal mutex; the program uses the store on its
// user-interface thread.
class TConfigStore {
public:
    enum class TValueType { String, Number, Binary };
    // A read-only store never writes its file (changes stay in memory) and leaves a file it
    // cannot read where it is, telling why in LoadProblem(): for a tool that only looks at the
    // settings of the program.
    enum class TOpenMode { ReadWrite, ReadOnly };

    // The store of the file; the folder is created (mode 0700) when missing.
    explicit TConfigStore(std::filesystem::path file, TOpenMode mode = TOpenMode::ReadWrite,
                          TConfigFileRole role = {});
    ~TConfigStore();
    TConfigStore(const TConfigStore&) = delete;
    TConfigStore& operator=(const TConfigStore&) = delete;

    // "$XDG_CONFIG_HOME/quorvin-explorer/settings.conf", or "~/.config/..." without it.
    static std::filesystem::path DefaultFile();

    const std::filesystem::path& File() const;
    // Why the file could not be loaded (empty when it could, or when there is none); for a
    // store that writes, also what became of the file: the name it was moved to, or that it
    // is left as it is.
    const std::string& LoadProblem() const;
    // The same for a window to show in the user's language.
    const TCoreMessage& LoadMessage() const;

    // Keys. Paths start with "\" and use "\" between key names; an empty name is invalid.
    bool KeyExists(std::string_view path) const;
    bool CreateKey(std::string_view path); // with every missing parent; true if it exists
    bool DeleteKey(std::string_view path); // with everything below it
    // Moves a key with everything below it; fails when the target exists (case-insensitive)
    // or the source does not, or the target lies inside the source.
    bool MoveKey(std::string_view from, std::string_view to);
    // Names of the subkeys and of the values, as written, in the order they were created.
    std::vector<std::string> SubKeyNames(std::string_view path) const;
    std::vector<std::string> ValueNames(std::string_view path) const;

    // Values. Reading fails (nothing) when the key or value is missing or has another type.
    bool ValueExists(std::string_view path, std::string_view name) const;
    std::optional<TValueType> ValueType(std::string_view path, std::string_view name) const;
    std::optional<std::string> ReadString(std::string_view path, std::string_view name) const;
    std::optional<std::int32_t> ReadNumber(std::string_view path, std::string_view name) const;
    std::optional<std::vector<std::uint8_t>> ReadBinary(std::string_view path,
                                                        std::string_view name) const;
    // Writing fails when the key does not exist (create it first) or the file cannot be
    // written; a value of another type is replaced.
    bool WriteString(std::string_view path, std::string_view name, std::string_view value);
    bool WriteNumber(std::string_view path, std::string_view name, std::int32_t value);
    bool WriteBinary(std::string_view path, std::string_view name,
                     const std::vector<std::uint8_t>& value);
    bool DeleteValue(std::string_view path, std::string_view name);

    // Writes pending changes now; false when the file could not be written.
    bool Flush();
    // Whether the store writes its file: not read-only, and its file was loaded or moved aside.
    bool Writable() const;
    // The file's text as the store stands now (also of a read-only store, whose changes stay
    // in memory), for a caller that writes it itself.
    std::string Text() const;

private:
    friend class TConfigBatch;
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

// Defers the store's writes to the end of the scope, so that a group of changes reaches the
// file as one.
class TConfigBatch {
public:
    explicit TConfigBatch(TConfigStore& store);
    ~TConfigBatch();
    TConfigBatch(const TConfigBatch&) = delete;
    TConfigBatch& operator=(const TConfigBatch&) = delete;

private:
    TConfigStore& m_store;
};

} // namespace qx
