// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

namespace qx {

// How the online editor searches. Prompt on replace is the only option set at first.
struct TSearchOptions {
    bool CaseSensitive = false;
    bool WholeWordsOnly = false;
    bool Backward = false;
    bool EntireScope = false; // from the start (or end) of the scope instead of the caret
    bool SelectedTextOnly = false;
    bool Replace = false;    // replace the first match
    bool ReplaceAll = false; // replace every match
    bool PromptOnReplace = true;

    bool operator==(const TSearchOptions&) const = default;
};

// What the find and replace dialog lets the user choose.
struct TSearchChoice {
    bool CaseSensitive = false;
    bool WholeWordsOnly = false;
    bool Backward = false;
    bool EntireScope = false;
    bool SelectedTextOnly = false;
    bool PromptOnReplace = true; // shown in the replace mode only
};

// The options of Find: the dialog's choices, with prompt on replace kept as it was.
TSearchOptions FindOptions(const TSearchOptions& stored, const TSearchChoice& choice);
// The options of Replace (OK) or Replace All.
TSearchOptions ReplaceOptions(const TSearchChoice& choice, bool all);
// Search Again continues from the caret.
TSearchOptions SearchAgainOptions(const TSearchOptions& stored);

enum class TReplaceAnswer { Yes, No, Cancel, All };

// The editor a search runs in: FindNext selects the next match (the first one when `first`)
// and tells whether there was one; ReplaceSelection replaces the selected match; Ask asks
// before a replacement.
struct TSearchTarget {
    std::function<bool(bool first)> FindNext;
    std::function<void()> ReplaceSelection;
    std::function<TReplaceAnswer()> Ask;
};

// Runs a find, a replace or a replace-all and returns how many matches it handled (found,
// replaced or skipped); 0 means the text was not found.
int RunSearch(const TSearchOptions& options, const TSearchTarget& target);

} // namespace qx
