// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/SearchOptions.h"

namespace qx {
namespace {

// What both dialogs ask; the rest stays at its default.
TSearchOptions ChosenOptions(const TSearchChoice& choice) {
    TSearchOptions options;
    options.CaseSensitive = choice.CaseSensitive;
    options.WholeWordsOnly = choice.WholeWordsOnly;
    options.Backward = choice.Backward;
    options.EntireScope = choice.EntireScope;
    options.SelectedTextOnly = choice.SelectedTextOnly;
    return options;
}

} // namespace

TSearchOptions FindOptions(const TSearchOptions& stored, const TSearchChoice& choice) {
    TSearchOptions options = ChosenOptions(choice);
    options.PromptOnReplace = stored.PromptOnReplace;
    return options;
}

TSearchOptions ReplaceOptions(const TSearchChoice& choice, bool all) {
    TSearchOptions options = ChosenOptions(choice);
    options.PromptOnReplace = choice.PromptOnReplace;
    options.Replace = !all;
    options.ReplaceAll = all;
    return options;
}

TSearchOptions SearchAgainOptions(const TSearchOptions& stored) {
    TSearchOptions options = stored;
    options.EntireScope = false;
    options.Replace = false;
    options.ReplaceAll = false;
    return options;
}

int RunSearch(const TSearchOptions& options, const TSearchTarget& target) {
    if (!options.Replace && !options.ReplaceAll) {
        return target.FindNext(true) ? 1 : 0;
    }
    int handled = 0;
    bool asking = options.PromptOnReplace;
    for (bool first = true; target.FindNext(first); first = false) {
        ++handled;
        const TReplaceAnswer answer = asking ? target.Ask() : TReplaceAnswer::Yes;
        if (answer == TReplaceAnswer::Cancel) {
            break;
        }
        if (answer == TReplaceAnswer::All) {
            asking = false;
        }
        if (answer != TReplaceAnswer::No) {
            target.ReplaceSelection();
        }
        if (!options.ReplaceAll && answer != TReplaceAnswer::All) {
            break;
        }
    }
    return handled;
}

} // namespace qx
