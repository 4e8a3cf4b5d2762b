// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ConfigStore.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <random>
#include <thread>

using namespace qx;
using qx::test::readFile;
using qx::test::TempDir;
using Names = std::vector<std::string>;
using namespace std::string_literals;

namespace {

std::vector<std::filesystem::path> DamagedFiles(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> found;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().filename().string().starts_with("settings.conf.damaged-")) {
            found.push_back(entry.path());
        }
    }
    return found;
}

class EnvOverride {
public:
    EnvOverride(const char* name, const char* value) : m_name(name) {
        if (const char* old = std::getenv(name)) {
            m_old = old;
        }
        value != nullptr ? ::setenv(name, value, 1) : ::unsetenv(name);
    }
    ~EnvOverride() { m_old ? ::setenv(m_name, m_old->c_str(), 1) : ::unsetenv(m_name); }

private:
    const char* m_name;
    std::optional<std::string> m_old;
};

} // namespace

TEST(ConfigStoreTest, NamesCompareWithoutCaseButKeepTheirSpellingAndOrder) {
    TempDir dir;
    TConfigStore store(dir.file("settings.conf"));
    EXPECT_TRUE(store.CreateKey("\\Software\\Quorvin Explorer\\b"));
    EXPECT_TRUE(store.CreateKey("\\SOFTWARE\\quorvin explorer\\A"));
    EXPECT_TRUE(store.CreateKey("\\Software\\Quorvin Explorer\\c"));
    EXPECT_TRUE(store.KeyExists("\\software\\QUORVIN EXPLORER\\B"));
    EXPECT_EQ(store.SubKeyNames("\\"), Names{"Software"});
    EXPECT_EQ(store.SubKeyNames("\\Software\\Quorvin Explorer"), (Names{"b", "A", "c"}));

    const std::string key = "\\Software\\Quorvin Explorer";
    EXPECT_TRUE(store.WriteString(key, "Email", "a@b"));
    EXPECT_TRUE(store.WriteNumber(key, "", 7));
    EXPECT_TRUE(store.WriteString(key, "EMAIL", "c@d"));
    EXPECT_EQ(store.ValueNames(key), (Names{"Email", ""}));
    EXPECT_EQ(store.ReadString(key, "email"), "c@d");
    EXPECT_EQ(store.ReadNumber(key, ""), 7);

    for (const char* bad : {"Software", "\\Software\\", "\\Software\\\\Quorvin Explorer", ""}) {
        EXPECT_FALSE(store.CreateKey(bad)) << bad;
        EXPECT_FALSE(store.KeyExists(bad)) << bad;
    }
    EXPECT_FALSE(store.WriteString("\\Missing", "Name", "x"));
    EXPECT_FALSE(store.KeyExists("\\Missing"));
}

// A key with many subkeys looks them up by an index, which must follow every change and the
// file read back, with the same rules as a few subkeys.
TEST(ConfigStoreTest, ManySubkeysKeepTheRulesThroughCreateMoveAndDelete) {
    TempDir dir;
    Names expected;
    {
        TConfigStore store(dir.file("settings.conf"));
        for (int i = 0; i < 100; ++i) {
            const std::string name = "Item" + std::to_string(i);
            ASSERT_TRUE(store.CreateKey("\\Items\\" + name));
            expected.push_back(name);
        }
        EXPECT_TRUE(store.CreateKey("\\items\\ITEM42")); // there already: nothing new
        EXPECT_TRUE(store.DeleteKey("\\Items\\item7"));
        EXPECT_FALSE(store.KeyExists("\\Items\\Item7"));
        EXPECT_TRUE(store.MoveKey("\\Items\\Item8", "\\Items\\Moved"));
        EXPECT_FALSE(store.MoveKey("\\Items\\Item9", "\\Items\\moved"));
        std::erase(expected, "Item7");
        std::erase(expected, "Item8");
        expected.push_back("Moved");
        EXPECT_TRUE(store.KeyExists("\\ITEMS\\moved"));
        EXPECT_EQ(store.SubKeyNames("\\Items"), expected);
    }
    TConfigStore reread(dir.file("settings.conf"));
    EXPECT_TRUE(reread.KeyExists("\\Items\\item99"));
    EXPECT_TRUE(reread.DeleteKey("\\Items\\MOVED"));
    expected.pop_back();
    EXPECT_EQ(reread.SubKeyNames("\\Items"), expected);
}

TEST(ConfigStoreTest, ReadingWithAnotherTypeFailsAndWritingReplacesTheType) {
    TempDir dir;
    TConfigStore store(dir.file("settings.conf"));
    ASSERT_TRUE(store.CreateKey("\\K"));
    ASSERT_TRUE(store.WriteNumber("\\K", "Port", 21));
    EXPECT_FALSE(store.ReadString("\\K", "Port"));
    EXPECT_FALSE(store.ReadBinary("\\K", "Port"));
    EXPECT_FALSE(store.ReadNumber("\\K", "Missing"));
    EXPECT_EQ(store.ValueType("\\K", "port"), TConfigStore::TValueType::Number);

    ASSERT_TRUE(store.WriteString("\\K", "Port", "21"));
    EXPECT_FALSE(store.ReadNumber("\\K", "Port"));
    EXPECT_EQ(store.ReadString("\\K", "Port"), "21");
    EXPECT_TRUE(store.DeleteValue("\\K", "PORT"));
    EXPECT_FALSE(store.ValueExists("\\K", "Port"));
    EXPECT_FALSE(store.DeleteValue("\\K", "Port"));
}

TEST(ConfigStoreTest, MoveAndDeleteCarryTheWholeSubtree) {
    TempDir dir;
    TConfigStore store(dir.file("settings.conf"));
    store.CreateKey("\\A\\B\\C");
    store.CreateKey("\\A\\Other");
    store.WriteString("\\A\\B", "", "Folder");
    store.WriteNumber("\\A\\B\\C", "Port", 2121);

    EXPECT_FALSE(store.MoveKey("\\A\\B", "\\a\\other")); // target exists, case-insensitively
    EXPECT_FALSE(store.MoveKey("\\A\\B", "\\A\\b"));     // a change of case only
    EXPECT_FALSE(store.MoveKey("\\A\\B", "\\A\\B\\C\\D"));
    EXPECT_FALSE(store.MoveKey("\\A\\Missing", "\\A\\New"));
    EXPECT_FALSE(store.MoveKey("\\", "\\New"));

    ASSERT_TRUE(store.MoveKey("\\a\\b", "\\X\\Y"));
    EXPECT_FALSE(store.KeyExists("\\A\\B"));
    EXPECT_EQ(store.SubKeyNames("\\"), (Names{"A", "X"}));
    EXPECT_EQ(store.ReadString("\\X\\Y", ""), "Folder");
    EXPECT_EQ(store.ReadNumber("\\X\\Y\\C", "Port"), 2121);

    ASSERT_TRUE(store.MoveKey("\\X\\Y", "\\A\\Y"));
    EXPECT_EQ(store.SubKeyNames("\\A"), (Names{"Other", "Y"})); // moved keys come last

    EXPECT_TRUE(store.DeleteKey("\\a"));
    EXPECT_FALSE(store.KeyExists("\\A\\Y\\C"));
    EXPECT_FALSE(store.DeleteKey("\\A"));
    EXPECT_FALSE(store.DeleteKey("\\"));
    EXPECT_EQ(store.SubKeyNames("\\"), Names{"X"});
}

TEST(ConfigStoreTest, AwkwardBytesInNamesAndValuesComeBackFromTheFile) {
    TempDir dir;
    const std::string file = dir.file("settings.conf");
    const std::string awkward = "q\"b\\s%25]\n\r\t\x01\x7f\xff\xc3\xa9 end\0z"s;
    std::string keyName = "[Key " + awkward + "]";
    std::erase(keyName, '\\'); // the separator of key paths
    const std::string key = "\\" + keyName;
    const std::vector<std::uint8_t> allBytes = [] {
        std::vector<std::uint8_t> bytes;
        for (int b = 0; b < 256; ++b) {
            bytes.push_back(static_cast<std::uint8_t>(b));
        }
        return bytes;
    }();
    {
        TConfigStore store(file);
        ASSERT_TRUE(store.CreateKey(key));
        ASSERT_TRUE(store.CreateKey(key + "\\Empty"));
        ASSERT_TRUE(store.CreateKey("\\Second"));
        ASSERT_TRUE(store.WriteString(key, awkward, awkward));
        ASSERT_TRUE(store.WriteString(key, "", "default"));
        ASSERT_TRUE(store.WriteString(key, "@", ""));
        ASSERT_TRUE(store.WriteString(key, "back\\slash", "x"));
        ASSERT_TRUE(store.WriteNumber(key, "Min", INT32_MIN));
        ASSERT_TRUE(store.WriteNumber(key, "Max", INT32_MAX));
        ASSERT_TRUE(store.WriteBinary(key, "All", allBytes));
        ASSERT_TRUE(store.WriteBinary(key, "None", {}));
        ASSERT_TRUE(store.WriteNumber("\\", "RootValue", 1));
    }
    const std::string text = readFile(file);
    EXPECT_EQ(text.find('\0'), std::string::npos);
    EXPECT_NE(text.find("[\\Second]"), std::string::npos);
    EXPECT_NE(text.find("Do not edit"), std::string::npos) << text;

    TConfigStore store(file);
    EXPECT_TRUE(DamagedFiles(dir.path()).empty());
    EXPECT_EQ(store.SubKeyNames("\\"), (Names{keyName, "Second"}));
    EXPECT_EQ(store.SubKeyNames(key), Names{"Empty"});
    EXPECT_EQ(store.ValueNames(key),
              (Names{awkward, "", "@", "back\\slash", "Min", "Max", "All", "None"}));
    EXPECT_EQ(store.ReadString(key, awkward), awkward);
    EXPECT_EQ(store.ReadString(key, ""), "default");
    EXPECT_EQ(store.ReadString(key, "@"), "");
    EXPECT_EQ(store.ReadNumber(key, "Min"), INT32_MIN);
    EXPECT_EQ(store.ReadNumber(key, "Max"), INT32_MAX);
    EXPECT_EQ(store.ReadBinary(key, "All"), allBytes);
    EXPECT_EQ(store.ReadBinary(key, "None"), std::vector<std::uint8_t>{});
    EXPECT_EQ(store.ReadNumber("\\", "RootValue"), 1);
}

TEST(ConfigStoreTest, EveryChangeIsWrittenAtOnceExceptInsideABatch) {
    TempDir dir;
    const std::string file = dir.file("settings.conf");
    TConfigStore store(file);
    ASSERT_TRUE(store.CreateKey("\\K"));
    EXPECT_NE(readFile(file).find("[\\K]"), std::string::npos);
    {
        TConfigBatch outer(store);
        store.WriteNumber("\\K", "One", 1);
        {
            TConfigBatch inner(store);
            store.WriteNumber("\\K", "Two", 2);
        }
        EXPECT_EQ(readFile(file).find("\"One\""), std::string::npos);
    }
    const std::string text = readFile(file);
    EXPECT_NE(text.find("\"One\"=number:1"), std::string::npos);
    EXPECT_NE(text.find("\"Two\"=number:2"), std::string::npos);
}

TEST(ConfigStoreTest, DamagedFilesAreMovedAsideAndTheStoreStartsEmpty) {
    const std::vector<std::string> damaged = {
        "[\\K]\n\"Name\"=string:\"open\n",
        "[\\K]\n\"Name\"=string:\"bad \\q escape\"\n",
        "[\\K]\n\"Name\"=number:2147483648\n",
        "[\\K]\n\"Name\"=binary:abc\n",
        "[\\K]\n\"Name\"=date:1\n",
        "[\\K]\n\"Name\"=number:1\n\"NAME\"=number:2\n",
        "\"Name\"=number:1\n",
        "[\\K\\]\n",
        "[\\K]\n\"Name\"=string:\"\xff\"\n",
    };
    for (const std::string& content : damaged) {
        TempDir dir;
        const std::string file = dir.write("settings.conf", "# comment\n\n" + content);
        testing::internal::CaptureStderr();
        TConfigStore store(file);
        const std::string message = testing::internal::GetCapturedStderr();
        EXPECT_FALSE(store.KeyExists("\\K")) << content;
        EXPECT_FALSE(std::filesystem::exists(file)) << content;
        const auto moved = DamagedFiles(dir.path());
        ASSERT_EQ(moved.size(), 1u) << content;
        EXPECT_EQ(readFile(moved[0]), "# comment\n\n" + content);
        EXPECT_NE(message.find(file), std::string::npos) << message;
        EXPECT_NE(message.find(moved[0].string()), std::string::npos) << message;
        EXPECT_NE(message.find("line "), std::string::npos) << message;
        EXPECT_NE(message.find("default settings"), std::string::npos) << message;
        // The same report for the program's own message box.
        EXPECT_NE(store.LoadProblem().find(moved[0].string()), std::string::npos);
        EXPECT_NE(message.find(store.LoadProblem()), std::string::npos) << message;
    }

    TempDir dir;
    const std::string file = dir.write("settings.conf", "garbage\n");
    testing::internal::CaptureStderr();
    { TConfigStore first(file); }
    dir.write("settings.conf", "\n\ngarbage\n");
    TConfigStore second(file);
    const std::string message = testing::internal::GetCapturedStderr();
    EXPECT_NE(message.find("line 3: "), std::string::npos) << message;
    EXPECT_EQ(DamagedFiles(dir.path()).size(), 2u); // a counter when the name is taken
}

TEST(ConfigStoreTest, AnUnreadableFileIsReportedAndNeverReplaced) {
    TempDir dir;
    const std::string file = dir.file("settings.conf");
    if (::geteuid() == 0) {
        std::filesystem::create_directory(file); // permissions do not stop root
    } else {
        dir.write("settings.conf", "[\\K]\n");
        ::chmod(file.c_str(), 0);
    }
    testing::internal::CaptureStderr();
    TConfigStore store(file);
    const std::string message = testing::internal::GetCapturedStderr();
    EXPECT_NE(message.find(file), std::string::npos) << message;
    EXPECT_NE(message.find("default settings"), std::string::npos) << message;
    EXPECT_NE(store.LoadProblem().find("left as it is"), std::string::npos);
    EXPECT_FALSE(store.KeyExists("\\K"));
    EXPECT_FALSE(store.CreateKey("\\New")); // kept in memory, but the file is left alone
    EXPECT_TRUE(store.KeyExists("\\New"));
    EXPECT_FALSE(store.Flush());
    EXPECT_TRUE(DamagedFiles(dir.path()).empty());
    ::chmod(file.c_str(), 0600);
    if (::geteuid() != 0) {
        EXPECT_EQ(readFile(file), "[\\K]\n");
    }
}

TEST(ConfigStoreTest, FolderAndFileAreClosedToOthers) {
    TempDir dir;
    const mode_t oldMask = ::umask(0);
    const auto folder = dir.path() / "config" / "quorvin-explorer";
    {
        TConfigStore store(folder / "settings.conf");
        store.CreateKey("\\K");
    }
    ::umask(oldMask);
    struct stat info {};
    ASSERT_EQ(::stat(folder.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0700u);
    ASSERT_EQ(::stat((folder / "settings.conf").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0600u);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1); // no leftovers
}

TEST(ConfigStoreTest, DefaultFileFollowsXdgConfigHomeOnlyWhenAbsolute) {
    TempDir dir;
    const EnvOverride home("HOME", dir.file("home").c_str());
    {
        const EnvOverride xdg("XDG_CONFIG_HOME", dir.file("xdg").c_str());
        EXPECT_EQ(TConfigStore::DefaultFile(), dir.path() / "xdg/quorvin-explorer/settings.conf");
    }
    for (const char* xdg : {"relative/config", "", static_cast<const char*>(nullptr)}) {
        const EnvOverride env("XDG_CONFIG_HOME", xdg);
        EXPECT_EQ(TConfigStore::DefaultFile(),
                  dir.path() / "home/.config/quorvin-explorer/settings.conf");
    }
}

// A writer killed at any moment leaves the last complete version: every value of the file
// carries the same generation, and generations never go back.
TEST(ConfigStoreTest, AKilledWriterNeverLeavesATornFile) {
    TempDir dir;
    const std::string file = dir.file("settings.conf");
    const std::string key = "\\Software\\Quorvin Explorer\\Crash";
    std::mt19937 random(std::random_device{}());
    std::int32_t lastGeneration = -1;
    for (int round = 0; round < 6; ++round) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            TConfigStore store(file);
            store.CreateKey(key);
            for (std::int32_t generation = store.ReadNumber(key, "V0").value_or(0) + 1;;
                 ++generation) {
                TConfigBatch batch(store);
                for (int i = 0; i < 40; ++i) {
                    store.WriteNumber(key, "V" + std::to_string(i), generation);
                }
                store.WriteString(key, "Text", std::string(4000, 'x') + std::to_string(generation));
            }
        }
        std::this_thread::sleep_for(
            std::chrono::milliseconds(std::uniform_int_distribution<int>(20, 120)(random)));
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);

        TConfigStore store(file);
        ASSERT_TRUE(DamagedFiles(dir.path()).empty()) << "round " << round;
        const auto generation = store.ReadNumber(key, "V0");
        if (!generation) {
            continue; // killed before its first write
        }
        for (int i = 0; i < 40; ++i) {
            EXPECT_EQ(store.ReadNumber(key, "V" + std::to_string(i)), generation);
        }
        EXPECT_EQ(store.ReadString(key, "Text"),
                  std::string(4000, 'x') + std::to_string(*generation));
        EXPECT_GE(*generation, lastGeneration);
        lastGeneration = *generation;
    }
    EXPECT_GT(lastGeneration, 0);
}
