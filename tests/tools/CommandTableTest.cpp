// SPDX-License-Identifier: GPL-3.0-or-later
// The command and option tables of quorvin-ftp hold together, and the README's quorvin-ftp
// section and the manual page name every command and option of them, and no other.

#include "CommandTable.h"
#include "OptionTable.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <set>
#include <sstream>

#ifndef QX_SOURCE_DIR
#error "QX_SOURCE_DIR must name the source tree"
#endif

namespace qx::cli {
namespace {

using Names = std::set<std::string>;

Names tableCommands() {
    Names names;
    for (const CommandRow& command : CommandTable()) {
        names.emplace(command.name);
    }
    return names;
}

Names tableOptions() {
    Names names;
    for (const OptionRow& option : OptionTable()) {
        names.emplace(option.name);
        if (!option.alias.empty()) {
            names.emplace(option.alias);
        }
    }
    return names;
}

// Every match of the first group of pattern in text.
Names matches(const std::string& text, const std::string& pattern) {
    Names found;
    const std::regex re(pattern);
    for (auto it = std::sregex_iterator(text.begin(), text.end(), re); it != std::sregex_iterator();
         ++it) {
        found.insert((*it)[1].str());
    }
    return found;
}

const std::string kOption = R"((?:^|[^\w-])(--?[a-zA-Z][a-zA-Z-]*))";
const std::string kLongOption = R"((?:^|[^\w-])(--[a-zA-Z][a-zA-Z-]*))";

TEST(CommandTableTest, EveryCommandNamesOptionsOfTheTableAndFormsOfOneCount) {
    for (const CommandRow& command : CommandTable()) {
        for (const std::string_view option : command.options) {
            EXPECT_NE(FindOption(option), nullptr) << command.name << ": " << option;
        }
        ASSERT_FALSE(command.forms.empty()) << command.name;
        for (const CommandForm& form : command.forms) {
            EXPECT_EQ(ArgumentNames(form).size(), ArgumentNames(command).size())
                << command.name << ": " << form.arguments;
            for (const std::string& option : matches(std::string(form.arguments), kOption)) {
                EXPECT_TRUE(std::ranges::find(command.options, option) != command.options.end())
                    << command.name << " shows " << option << " but does not list it";
            }
        }
    }
}

// The quorvin-ftp section: its usage block names the commands (one form a line) and every
// option; the prose names no option the tool lacks.
TEST(CommandTableTest, TheReadmeNamesEveryCommandAndOptionAndNoOther) {
    const std::string readme = test::readFile(QX_SOURCE_DIR "/README.md");
    const std::size_t start = readme.find("\n## quorvin-ftp\n");
    ASSERT_NE(start, std::string::npos);
    const std::string section = readme.substr(start, readme.find("\n## ", start + 1) - start);
    const std::size_t open = section.find("```\n");
    ASSERT_NE(open, std::string::npos);
    const std::string block = section.substr(open, section.find("```", open + 4) - open);

    EXPECT_EQ(matches(block, R"((?:^|\n)  ([a-z][a-z-]*) )"), tableCommands());
    EXPECT_EQ(matches(block, kOption), tableOptions());
    for (const std::string& option : matches(section, kLongOption)) {
        EXPECT_TRUE(tableOptions().contains(option)) << option;
    }
}

// The text of the manual page without its escapes: "\-" is "-", font changes and quotes go.
std::string plainManText(std::string text) {
    text = std::regex_replace(text, std::regex(R"(\\-)"), "-");
    text = std::regex_replace(text, std::regex(R"(\\f[BIRP])"), "");
    return std::regex_replace(text, std::regex("\""), "");
}

// The first line after each .TP of the section: the heads of its entries.
std::vector<std::string> entryHeads(const std::string& man, const std::string& section) {
    const std::size_t start = man.find("\n.SH " + section + "\n");
    const std::size_t end = man.find("\n.SH ", start + 1);
    std::istringstream lines(man.substr(start, end - start));
    std::vector<std::string> heads;
    std::string line;
    while (std::getline(lines, line)) {
        if (line == ".TP" && std::getline(lines, line)) {
            heads.push_back(std::regex_replace(line, std::regex(R"(^\.[A-Z]+ )"), ""));
        }
    }
    return heads;
}

// Each command is an entry of COMMANDS (one for each form), each option one of OPTIONS; the
// page names no option the tool lacks.
TEST(CommandTableTest, TheManualPageNamesEveryCommandAndOptionAndNoOther) {
    const std::string man = plainManText(test::readFile(QX_SOURCE_DIR "/data/man/quorvin-ftp.1"));
    ASSERT_NE(man.find("\n.SH COMMANDS\n"), std::string::npos);
    ASSERT_NE(man.find("\n.SH OPTIONS\n"), std::string::npos);

    Names commands;
    for (const std::string& head : entryHeads(man, "COMMANDS")) {
        commands.insert(head.substr(0, head.find(' ')));
        for (const std::string& option : matches(head, kOption)) {
            EXPECT_TRUE(tableOptions().contains(option)) << head;
        }
    }
    EXPECT_EQ(commands, tableCommands());
    Names options;
    for (const std::string& head : entryHeads(man, "OPTIONS")) {
        options.merge(matches(head, kOption));
    }
    EXPECT_EQ(options, tableOptions());
    for (const std::string& option : matches(man, kLongOption)) {
        EXPECT_TRUE(tableOptions().contains(option)) << option;
    }
}

} // namespace
} // namespace qx::cli
