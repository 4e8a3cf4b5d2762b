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
    {"ViewFileToolbarAction", QT_TRANSLATE_NOOP("qx::TExplorerViewCommands", "&File"),
     QT_TRANSLATE_NOOP("qx::TExplorerViewCommands", "File Toolbar|Toggle File Toolbar Visibility")},
    {"ViewEditToolbarAction", QT_TRANSLATE_NOOP("qx::TExplorerViewCommands", "&Edit"),
     QT_TRANSLATE_NOOP("qx::TExplorerViewCommands", "Edit Toolbar|Toggle Edit Toolbar Visibility")},
    {"ViewViewToolbarAction", QT_TRANSLATE_NOOP("qx::TExplorerViewCommands", "&View"),
     QT_TRANSLATE_NOOP("qx::TExplorerViewCommands", "View Toolbar|Toggle View Toolbar Visibility")},
    {"ViewToolToolbarAction", QT_TRANSLATE_NOOP("qx::TExplorerViewCommands", "&Tool"),
     QT_TRANSLATE_NOOP("qx::TExplorerViewCommands", "Tool Toolbar|Toggle Tool Toolbar Visibility")},
};

constexpr TViewRow kStyles[] = {
    {"ViewLargeIconsAction", QT_TRANSLATE_NOOP("qx::TExplorerViewCommands", "Lar&ge Icons"),
     QT_TRANSLATE_NOOP("qx::TExplorerViewCommands",
                       "Large Icons|View File List with Large Icons Style")},
    {"ViewSmallIconsAction", QT_TRANSLATE_NOOP("qx::TExplorerViewCommands", "S&mall Icons"),
     QT_TRANSLATE_NOOP("qx::TExplorerViewCommands",
                       "Small Icons|View File List with Small Icons Style")},
    {"ViewListAction", QT_TRANSLATE_NOOP("qx::TExplorerViewCommands", "&List"),
     QT_TRANSLATE_NOOP("qx::TExplorerViewCommands", "List|View File List with List Style")},
    {"ViewDetailsAction", QT_TRANSLATE_NOOP("qx::TExplorerViewCommands", "&Details"),
     QT_TRANSLATE_NOOP("qx::TExplorerViewCommands", "Details|View File List with Details Style")},
};

// The list's columns in the order of the Arrange Icons menu.
struct TArrangeRow {
    TViewRow Looks;
    int Column;
};
constexpr TArrangeRow kArrange[] = {
    {{"ViewArrangeIconsbyNameAction", QT_TRANSLATE_NOOP("qx::TExplorerViewCommands", "by &Name"),
      QT_TRANSLATE_NOOP("qx::TExplorerViewCommands", "Name|Arrange Icons by Name")},
     1},
    {{"ViewArrangeIconsbyTypeAction", QT_TRANSLATE_NOOP("qx::TExplorerViewCommands", "by &Type"),
      QT_TRANSLATE_NOOP("qx::TExplorerViewCommands", "Type|Arrange Icons by Type")},
     3},
    {{"ViewArrangeIconsbySizeAction", QT_TRANSLATE_NOOP("qx::TExplorerViewCommands", "by Si&ze"),
      QT_TRANSLATE_NOOP("qx::TExplorerViewCommands", "Size|Arrange Icons by Size")},
     2},
    {{"ViewArrangeIconsbyDateAction", QT_TRANSLATE_NOOP("qx::TExplorerViewCommands", "by &Date"),
      QT_TRANSLATE_NOOP("qx::TExplorerViewCommands", "Date|Arrange Icons by Date")},
     4},
    {{"ViewArrangeIconsbyPermissionAction",
      QT_TRANSLATE_NOOP("qx::TExplorerViewCommands", "by &Permission"),
      QT_TRANSLATE_NOOP("qx::TExplorerViewCommands", "Permission|Arrange Icons by Permission")},
     5},
};

QAction* AddToggle(TActionList& list, const QObject& translator, const TViewRow& row, int image,
                   TActionList::Execute execute) {
    return AddCommand(list, translator, {row.Name, row.Caption, row.Hint, 0, image, nullptr, true},
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
    m_toolbars = AddDockToolbars(window, {{{"FileToolbar", tr("File Toolbar")},
                                           {"EditToolbar", tr("Edit Toolbar")},
                                           {"ViewToolbar", tr("View Toolbar")},
                                           {"ToolToolbar", tr("Tool Toolbar")}}});
    QMenu* toolbarMenu = NewMenu(window, "ViewToolbarMenu", tr("&Toolbar"));
    for (std::size_t bar = 0; bar < m_toolbars.size(); ++bar) {
        m_toolbarToggles[bar] = AddToggle(actions, *this, kToolbarToggles[bar], -1, [this, bar] {
            m_toolbars[bar]->setVisible(!m_toolbars[bar]->isVisible());
        });
        toolbarMenu->addAction(m_toolbarToggles[bar]);
    }

    auto* styles = new QActionGroup(&window);
    styles->setObjectName(QStringLiteral("ViewStyleActions"));
    styles->setExclusionPolicy(QActionGroup::ExclusionPolicy::None); // checked by UpdateChecks
    auto* styleMenu = NewMenu(window, "ViewStylePopupMenu", {});
    for (int style = 0; style < kViewStyleCount; ++style) {
        QAction* action = AddToggle(actions, *this, kStyles[style], Image::LargeIcons + style,
                                    [this, style] { m_shell.SetViewStyle(style); });
        m_styles[static_cast<std::size_t>(style)] = action;
        styles->addAction(action);
        styleMenu->addAction(action);
    }
    m_styleButton = AddCommand(
        actions, *this,
        {"ViewToolbarButtonAction", QT_TRANSLATE_NOOP("qx::TExplorerViewCommands", "View Style"),
         QT_TRANSLATE_NOOP("qx::TExplorerViewCommands", "View Style|View File List with"), 0,
         Image::LargeIcons, nullptr, false},
        [this] { m_shell.SetViewStyle((m_shell.ViewStyle() + 1) % kViewStyleCount); }, {});
    styleMenu->setDefaultAction(m_styleButton); // the toolbar's button

    QMenu* arrangeMenu = NewMenu(window, "ViewArrangeIconsMenu", tr(m_spec.ArrangeTitle));
    arrangeMenu->setIcon(TMainDataModule::ActionIcon(Image::ArrangeIcons));
    for (int arrange = 0; arrange < m_spec.ArrangeColumns; ++arrange) {
        const TArrangeRow& row = kArrange[arrange];
        m_arrange[static_cast<std::size_t>(arrange)] =
            AddToggle(actions, *this, row.Looks, -1, [this, column = row.Column] {
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
