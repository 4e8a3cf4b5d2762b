#pragma once

#include <QObject>

#include <array>
#include <functional>

class QAction;
class QMainWindow;
class QMenu;
class QToolBar;

namespace qx {

class TActionList;
class TExplorerShell;

// What an explorer's view commands need of it.
struct TExplorerViewSpec {
    // The list is arranged by the first this many of name, type, size, date and permission.
    int ArrangeColumns = 4;
    // The title of the Arrange Icons menu, with its access key where the View menu has room.
    const char* ArrangeTitle = "Arrange Icons";
    std::function<int()> SortColumn; // 1-based, negative: descending
    std::function<void(int column)> ArrangeBy;
};

// The commands both explorers show their file list and toolbars with: the four view styles
// with the toolbar's style button, Arrange Icons by column, and the toggles of the four dock
// toolbars (File, Edit, View, Tool), kept checked as things are. It adds the toolbars to the
// window, the View toolbar's style and arrange buttons, and the menus ViewToolbarMenu and
// ViewArrangeIconsMenu that the window's menu tables name.
class TExplorerViewCommands final : public QObject {
    Q_OBJECT
public:
    TExplorerViewCommands(QMainWindow& window, TActionList& actions, TExplorerShell& shell,
                          TExplorerViewSpec spec);

    QToolBar* Toolbar(int bar) const { return m_toolbars[static_cast<std::size_t>(bar)]; }
    // The menu of a right click on the docks.
    QMenu* NewToolbarMenu() const;

private:
    void UpdateChecks();

    QMainWindow& m_window;
    TExplorerShell& m_shell;
    TExplorerViewSpec m_spec;
    std::array<QToolBar*, 4> m_toolbars{};
    std::array<QAction*, 4> m_toolbarToggles{};
    std::array<QAction*, 4> m_styles{};
    std::array<QAction*, 5> m_arrange{};
    std::array<int, 5> m_arrangeImage{}; // the image shown: 0 none, else the sort image
    QAction* m_styleButton = nullptr;
    int m_shownStyle = -1;
};

} // namespace qx
