// SPDX-License-Identifier: GPL-3.0-or-later
// The bash completion made from the command table, run by bash with the two helpers of the
// bash-completion package it uses replaced by stand-ins: _filedir answers "<files>".

#include "BashCompletion.h"
#include "CommandTable.h"
#include "OptionTable.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>

namespace qx::cli {
namespace {

const char* const kDriver = R"(
_init_completion() {
    words=("${COMP_WORDS[@]}")
    cword=$COMP_CWORD
    cur=${COMP_WORDS[COMP_CWORD]}
    prev=${COMP_WORDS[COMP_CWORD - 1]}
}
_filedir() { COMPREPLY=("<files>"); }
source "$1"
shift
COMP_WORDS=("$@")
COMP_CWORD=$(($# - 1))
COMPREPLY=()
_quorvin_ftp
echo "${COMPREPLY[*]}"
)";

class BashCompletionTest : public ::testing::Test {
protected:
    // What completing the last of the words offers, separated by blanks.
    std::string complete(const std::vector<std::string>& words) {
        std::string command = "bash " + quoted(m_driver) + ' ' + quoted(m_script);
        for (const std::string& word : words) {
            command += ' ' + quoted(word);
        }
        command += " >" + quoted(m_dir.file("out")) + " 2>&1 </dev/null";
        const int status = std::system(command.c_str());
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << command;
        std::string out = test::readFile(m_dir.file("out"));
        if (!out.empty() && out.back() == '\n') {
            out.pop_back();
        }
        return out;
    }

private:
    static std::string quoted(const std::string& text) {
        std::string out = "'";
        for (const char c : text) {
            out += c == '\'' ? std::string("'\\''") : std::string(1, c);
        }
        return out + "'";
    }

    test::TempDir m_dir;
    std::string m_script = m_dir.write("quorvin-ftp", BashCompletion());
    std::string m_driver = m_dir.write("driver.sh", kDriver);
};

TEST_F(BashCompletionTest, OffersTheCommandsAndOptionsOfTheTables) {
    std::string commands;
    for (const CommandRow& command : CommandTable()) {
        commands += (commands.empty() ? "" : " ") + std::string(command.name);
    }
    EXPECT_EQ(complete({"quorvin-ftp", ""}), commands);
    std::string options;
    for (const OptionRow& option : OptionTable()) {
        for (const std::string_view name : {option.name, option.alias}) {
            if (name.starts_with("--")) {
                options += (options.empty() ? "" : " ") + std::string(name);
            }
        }
    }
    EXPECT_EQ(complete({"quorvin-ftp", "-v", "--"}), options);
    EXPECT_EQ(complete({"quorvin-ftp", "ls", "-"}), "-h --tsv --no-mlsd");
}

TEST_F(BashCompletionTest, AnOptionValueIsNotTakenForTheCommand) {
    EXPECT_EQ(complete({"quorvin-ftp", "--pin", ""}), "");
    EXPECT_EQ(complete({"quorvin-ftp", "--pin", "AB:CD", "get", "-"}), "-r --limit-rate");
    EXPECT_EQ(complete({"quorvin-ftp", "--timeout", "9", "put", ""}), "<files>");
}

TEST_F(BashCompletionTest, FileNamesOnlyWhereALocalPathGoes) {
    EXPECT_EQ(complete({"quorvin-ftp", "get", ""}), "");
    EXPECT_EQ(complete({"quorvin-ftp", "get", "-r", "ftp://h/a", ""}), "<files>");
    EXPECT_EQ(complete({"quorvin-ftp", "put", "--site", "x", "./a", ""}), "");
    EXPECT_EQ(complete({"quorvin-ftp", "rm", "ftp://h/a", ""}), "");
    EXPECT_EQ(complete({"quorvin-ftp", "queue", ""}), "<files>");
    EXPECT_EQ(complete({"quorvin-ftp", "queue", "jobs", ""}), "");
}

} // namespace
} // namespace qx::cli
