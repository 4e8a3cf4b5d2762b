// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>

namespace qx {

// The images every window shares: the action image list, by the indexes the commands name,
// drawn from the icon theme with a built-in picture for each when the theme lacks it.
class TMainDataModule {
public:
    // Indexes the windows use by name.
    enum ActionImage : int {
        SiteBook = 0,
        QuickConnect = 1,
        LocalExplorer = 2,
        Carrier = 3,
        OnlineEditor = 4,
        GlobalOptions = 5,
        HelpContents = 6,
        HomePage = 7,
        WriteToDeveloper = 8,
        Connect = 9,
        NewFolder = 10,
        NewSite = 11,
        Delete = 12,
        Rename = 13,
        Properties = 14,
        Ping = 15,
        Telnet = 16,
        Download = 17,
        DownloadTo = 18,
        DownloadInQueue = 19,
        Open = 20,
        OnlineEdit = 21,
        Print = 22,
        UpOneLevel = 23,
        ChangeFolder = 24,
        ChangePermission = 25,
        Filtering = 26,
        Close = 27,
        Copy = 28,
        Paste = 29,
        CopyUrl = 30,
        SelectAll = 31,
        InvertSelection = 32,
        LargeIcons = 33,
        SmallIcons = 34,
        List = 35,
        Details = 36,
        ArrangeIcons = 37,
        SortAscending = 38,
        SortDescending = 39,
        LogPanel = 40,
        Refresh = 41,
        ServerInformation = 42,
        Abort = 43,
        ResumingTransfer = 44,
        Resume = 45,
        Suspend = 46,
        Resubmit = 47,
        Add = 48,
        Clear = 49,
        Hide = 50,
        Save = 51,
        Cancel = 52,
        Ascii = 53,
        Binary = 54,
        Auto = 55,
        Idle = 56,
        Busy = 57,
        Restore = 58,
        Minimize = 59,
        CloseExplorer = 60,
        CompareFolders = 61,
        CompareDifferences = 62,
        Count = 63,
    };

    // At start-up: where the desktop's icon theme lacks the names the program uses, a complete
    // theme that is installed fills in (the desktop's own theme keeps the first say).
    static void ChooseIconThemes();

    // The image at an index; an empty icon for an index outside the list.
    static QIcon ActionIcon(int index);
    // True when the icon theme has no picture for the index and the built-in one is used.
    static bool UsesFallback(int index);
};

} // namespace qx
