// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "widgets/CommandTable.h"
#include "widgets/MainDataModule.h"

#include <QObject>

#include <array>

namespace qx {

// The commands that pair an explorer's folder with the other explorer's, alike in both
// explorers but for the hints that name the other one: Synchronize, Compare Folders and Only
// Differences. The owner has their handlers, the rule type their rules.
template <class Owner, class Rule>
constexpr std::array<TCommand<Owner, Rule>, 3> FolderPairCommands(const char* synchronizeHint,
                                                                  const char* compareHint) {
    using Image = TMainDataModule::ActionImage;
    return {
        {{"ToolSynchronizeAction", QT_TR_NOOP("S&ynchronize..."), synchronizeHint, 0, -1,
          &Owner::ToolSynchronizeActionExecute, Rule::Synchronize, "view-refresh"},
         {"ToolCompareAction", QT_TR_NOOP("Compare &Folders"), compareHint, 0,
          Image::CompareFolders, &Owner::ToolCompareActionExecute, Rule::Compare, nullptr, true},
         {"ToolCompareDifferencesAction", QT_TR_NOOP("Only &Differences"),
          QT_TR_NOOP("Only Differences|Show Only the Items that Differ"), 0,
          Image::CompareDifferences, &Owner::ToolCompareDifferencesActionExecute,
          Rule::CompareDifferences, nullptr, true}}};
}

} // namespace qx
