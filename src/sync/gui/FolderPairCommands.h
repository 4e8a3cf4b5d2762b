// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "widgets/CommandTable.h"
#include "widgets/MainDataModule.h"

#include <QObject>

#include <array>

namespace qx {

// The captions and hints of the commands that pair an explorer's folder with the other
// explorer's. Each explorer marks them in its own context, the one its commands are translated
// in; the hints name the other explorer.
struct TFolderPairTexts {
    const char* Synchronize;
    const char* SynchronizeHint;
    const char* Compare;
    const char* CompareHint;
    const char* Differences;
    const char* DifferencesHint;
};

// The commands that pair an explorer's folder with the other explorer's, alike in both
// explorers but for their texts: Synchronize, Compare Folders and Only Differences. The owner
// has their handlers, the rule type their rules.
template <class Owner, class Rule>
constexpr std::array<TCommand<Owner, Rule>, 3> FolderPairCommands(const TFolderPairTexts& texts) {
    using Image = TMainDataModule::ActionImage;
    return {{{"ToolSynchronizeAction", texts.Synchronize, texts.SynchronizeHint, 0, -1,
              &Owner::ToolSynchronizeActionExecute, Rule::Synchronize, "view-refresh"},
             {"ToolCompareAction", texts.Compare, texts.CompareHint, 0, Image::CompareFolders,
              &Owner::ToolCompareActionExecute, Rule::Compare, nullptr, true},
             {"ToolCompareDifferencesAction", texts.Differences, texts.DifferencesHint, 0,
              Image::CompareDifferences, &Owner::ToolCompareDifferencesActionExecute,
              Rule::CompareDifferences, nullptr, true}}};
}

} // namespace qx
