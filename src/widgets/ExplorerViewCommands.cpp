// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/ExplorerViewCommands.h"

#include "widgets/ActionList.h"
#include "widgets/CommandTable.h"
#include "widgets/DockToolbars.h"
#include "widgets/ExplorerShell.h"
#include "widgets/MainDataModule.h"

#include <QActionGroup>
#include <QMainWindow>
#include <QMenu>
#include <QToolBar>

#include <cstdlib>

namespace qx {

namespace {

using Image = TMainDataModule::ActionImage;

struct TViewRow {
    const char* Name;
    const char* Caption;
    const char* Hint;
};

constexpr TViewRow kToolbarToggles[] = {
    {"ViewFileToolbarAction", QT_TR_NOOP("&File"),
     QT_TR_NOOP("File Toolbar|Toggle File Toolbar Visibility")},
    {"ViewEditToolbarAction", QT_TR_NOOP("&Edit"),
     QT_TR_NOOP("Edit Toolbar|Toggle Edit Toolbar Visibility")},
    {"ViewViewToolbarAction", QT_TR_NOOP("&View"),
     QT_TR_NOOP("View Toolbar|Toggle View Toolbar Visibility")},
    {"ViewToolToolbarAction", QT_TR_NOOP("&Tool"),
     QT_TR_NOOP("Tool Toolbar|Toggle Tool Toolbar Visibility")},
};

constexpr TViewRow kStyles[] = {
    {"ViewLargeIconsAction", QT_TR_NOOP("Lar&ge Icons"),
     QT_TR_NOOP("Large Icons|View File List with Large Icons Style")},
    {"ViewSmallIconsAction", QT_TR_NOOP("S&mall Icons"),
     QT_TR_NOOP("Small Icons|View File List with Small Icons Style")},
    {"ViewListAction", QT_TR_NOOP("&List"), QT_TR_NOOP("List|View File List with List Style")},
    {"ViewDetailsAction", QT_TR_NOOP("&Details"),
     QT_TR_NOOP("Details|View File List with Details Style")},
};

// The list's columns in the order of the Arrange Icons menu.
struct TArrangeRow {
    TViewRow Looks;
    int Column;
};
constexpr TArrangeRow kArrange[] = {
    {{"ViewArrangeIconsbyNameAction", QT_TR_NOOP("by &Name"),
      QT_TR_NOOP("Name|Arrange Icons by Name")},
     1},
    {{"ViewArrangeIconsbyTypeAction", QT_TR_NOOP("by &Type"),
      QT_TR_NOOP("Type|Arrange Icons by Type")},
     3},
    {{"ViewArrangeIconsbySizeAction", QT_TR_NOOP("by Si&ze"),
      QT_TR_NOOP("Size|Arrange Icons by Size")},
     2},
    {{"ViewArrangeIconsbyDateAction", QT_TR_NOOP("by &Date"),
      QT_TR_NOOP("Date|Arrange Icons by Date")},
     4},
    {{"ViewArrangeIconsbyPermissionAction", QT_TR_NOOP("by &Permission"),
      QT_TR_NOOP("Permission|Arrange Icons by Permission")},
     5},
};

QAction* AddToggle(TActionList& list, const QObject& window, const TViewRow& row, int image,
                   TActionList::Execute execute) {
    return AddCommand(list, window, {row.Name, row.Caption, row.Hint, 0, image, nullptr, true},
                      std::move(execute), {});
}

QMenu* NewMenu(QMainWindow& window, const char* name, const QString& title) {
    auto* menu = new QMenu(title, &window);
    menu->setObjectName(QString::fromLatin1(name));
    return menu;
}

} // namespace

TExplorerViewCommands::TExplorerViewCommands(QMainWindow& window, TActionList& actions,
                                             TExplorerShell& shell, TExplorerViewSpec spec)
    : QObject(&window), m_window(window), m_shell(shell), m_spec(std::move(spec)) {
    m_spec.ArrangeColumns = std::clamp(m_spec.ArrangeColumns, 1, 5);
    m_toolbars = AddDockToolbars(window, {{{"FileToolbar", "File Toolbar"},
                                           {"EditToolbar", "Edit Toolbar"},
                                           {"ViewToolbar", "View Toolbar"},
                                           {"ToolToolbar", "Tool Toolbar"}}});
    QMenu* toolbarMenu = NewMenu(window, "ViewToolbarMenu", tr("&Toolbar"));
    for (std::size_t bar = 0; bar < m_toolbars.size(); ++bar) {
        m_toolbarToggles[bar] = AddToggle(actions, window, kToolbarToggles[bar], -1, [this, bar] {
            m_toolbars[bar]->setVisible(!m_toolbars[bar]->isVisible());
        });
        toolbarMenu->addAction(m_toolbarToggles[bar]);
    }

    auto* styles = new QActionGroup(&window);
    styles->setObjectName(QStringLiteral("ViewStyleActions"));
    styles->setExclusionPolicy(QActionGroup::ExclusionPolicy::None); // checked by UpdateChecks
    auto* styleMenu = NewMenu(window, "ViewStylePopupMenu", {});
    for (int style = 0; style < kViewStyleCount; ++style) {
        QAction* action = AddToggle(actions, window, kStyles[style], Image::LargeIcons + style,
                                    [this, style] { m_shell.SetViewStyle(style); });
        m_styles[static_cast<std::size_t>(style)] = action;
        styles->addAction(action);
        styleMenu->addAction(action);
    }
    m_styleButton = AddCommand(
        actions, window,
        {"ViewToolbarButtonAction", QT_TR_NOOP("View Style"),
         QT_TR_NOOP("View Style|View File List with"), 0, Image::LargeIcons, nullptr, false},
        [this] { m_shell.SetViewStyle((m_shell.ViewStyle() + 1) % kViewStyleCount); }, {});
    styleMenu->setDefaultAction(m_styleButton); // the toolbar's button

    QMenu* arrangeMenu = NewMenu(window, "ViewArrangeIconsMenu", tr(m_spec.ArrangeTitle));
    arrangeMenu->setIcon(TMainDataModule::ActionIcon(Image::ArrangeIcons));
    for (int arrange = 0; arrange < m_spec.ArrangeColumns; ++arrange) {
        const TArrangeRow& row = kArrange[arrange];
        m_arrange[static_cast<std::size_t>(arrange)] =
            AddToggle(actions, window, row.Looks, -1, [this, column = row.Column] {
                if (m_spec.ArrangeBy) {
                    m_spec.ArrangeBy(column);
                }
            });
        arrangeMenu->addAction(m_arrange[static_cast<std::size_t>(arrange)]);
    }

    actions.Add({}, {}, [this](QAction& self) {
        self.setVisible(false);
        UpdateChecks();
    });
}

void TExplorerViewCommands::UpdateChecks() {
    for (std::size_t bar = 0; bar < m_toolbars.size(); ++bar) {
        m_toolbarToggles[bar]->setChecked(m_toolbars[bar]->isVisible());
    }
    const int viewStyle = m_shell.ViewStyle();
    for (int style = 0; style < kViewStyleCount; ++style) {
        m_styles[static_cast<std::size_t>(style)]->setChecked(viewStyle == style);
    }
    const int sort = m_spec.SortColumn ? m_spec.SortColumn() : 0;
    for (int arrange = 0; arrange < m_spec.ArrangeColumns; ++arrange) {
        const auto at = static_cast<std::size_t>(arrange);
        const bool checked = std::abs(sort) == kArrange[arrange].Column;
        const int image = checked ? (sort > 0 ? Image::SortAscending : Image::SortDescending) : 0;
        if (m_arrange[at]->isChecked() != checked || m_arrangeImage[at] != image) {
            m_arrange[at]->setChecked(checked);
            m_arrangeImage[at] = image;
            m_arrange[at]->setIcon(checked ? TMainDataModule::ActionIcon(image) : QIcon());
        }
    }
    if (m_shownStyle != viewStyle) {
        m_shownStyle = viewStyle;
        m_styleButton->setIcon(TMainDataModule::ActionIcon(Image::LargeIcons + viewStyle));
    }
}

TExplorerPopups TExplorerViewCommands::FillMenus(QMenuBar& bar, const TExplorerMenus& menus) {
    FillMenuBar(bar, m_window, menus.MenuBar);
    for (std::size_t toolbar = 0; toolbar < m_toolbars.size(); ++toolbar) {
        FillToolbar(*m_toolbars[toolbar], m_window, menus.Toolbars[toolbar]);
    }
    return {NewPopupMenu(m_window, "FileListPopupMenu1", menus.ListPopup),
            NewPopupMenu(m_window, "FileListPopupMenu2", menus.ListPopupEmpty),
            NewPopupMenu(m_window, "FolderTreePopupMenu", menus.TreePopup)};
}

QMenu* TExplorerViewCommands::NewToolbarMenu() const {
    return ToolbarPopupMenu(m_window, m_toolbarToggles);
}

} // namespace qx
