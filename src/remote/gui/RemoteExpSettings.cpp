// SPDX-License-Identifier: GPL-3.0-or-later
// The remote explorer's settings in its site's key: the window's place, the panes, the list's
// sort column, column widths and view style, the log panel and the Download To folder.

#include "remote/gui/RemoteExpForm.h"

#include "platform/ConfigStore.h"
#include "settings/SiteBookModel.h"
#include "settings/SiteProperties.h"
#include "widgets/ExplorerShell.h"

#include <QTreeView>

#include <filesystem>

namespace qx {

namespace {

constexpr const char* kColumnNames[] = {"NameColumnWidth", "SizeColumnWidth", "TypeColumnWidth",
                                        "DateColumnWidth", "PermissionColumnWidth"};

} // namespace

std::string TRemoteExpForm::SiteKey() const {
    return m_site != nullptr && m_site->SiteNode != nullptr
               ? TSiteBookModel::NodeKeyPath(*m_site->SiteNode)
               : std::string();
}

void TRemoteExpForm::LoadSettings() {
    const std::string key = SiteKey();
    if (key.empty() || !m_context.Store.KeyExists(key)) {
        return;
    }
    const TConfigStore& store = m_context.Store;
    // The toolbars first, in the subkey of their own.
    if (const auto state = store.ReadBinary(key + "\\Toolbar", "State")) {
        restoreState(QByteArray(reinterpret_cast<const char*>(state->data()),
                                static_cast<qsizetype>(state->size())));
    }
    const auto number = [&](const char* name) { return store.ReadNumber(key, name); };
    m_shell->ApplyPlace({number("Left"), number("Top"), number("Width"), number("Height"),
                         number("FolderTreePanelWidth"), number("LogPanelHeight")});
    if (auto v = number("SortColumn"); v && *v != 0 && std::abs(*v) <= 5) {
        m_fileList.Sort(*v);
    }
    for (int column = 0; column < 5; ++column) {
        if (auto v = number(kColumnNames[column]); v && *v > 0) {
            m_shell->DetailsView().setColumnWidth(column, *v);
        }
    }
    if (auto v = number("ViewStyle")) {
        SetViewStyle(*v);
    }
    if (auto v = number("LogPanelVisible")) {
        SetLogPanelVisible(*v != 0);
    }
    if (auto folder = store.ReadString(key, "DownloadtoFolderPath")) {
        std::error_code error;
        if (!folder->empty() && std::filesystem::is_directory(*folder, error)) {
            m_downloadFolder = *folder;
        }
    }
}

void TRemoteExpForm::SaveSettings() {
    const std::string key = SiteKey();
    if (key.empty()) {
        return;
    }
    TConfigStore& store = m_context.Store;
    TConfigBatch batch(store);
    store.CreateKey(key);
    const QByteArray state = saveState();
    if (store.CreateKey(key + "\\Toolbar")) {
        store.WriteBinary(key + "\\Toolbar", "State",
                          std::vector<std::uint8_t>(state.begin(), state.end()));
    }
    if (!isMaximized()) {
        const TExplorerPlace place = m_shell->Place();
        store.WriteNumber(key, "Left", *place.Left);
        store.WriteNumber(key, "Top", *place.Top);
        store.WriteNumber(key, "Width", *place.Width);
        store.WriteNumber(key, "Height", *place.Height);
        store.WriteNumber(key, "FolderTreePanelWidth", *place.TreeWidth);
        store.WriteNumber(key, "LogPanelHeight", *place.BottomHeight);
    }
    store.WriteNumber(key, "SortColumn", m_fileList.SortColumn());
    store.WriteNumber(key, "ViewStyle", ViewStyle());
    for (int column = 0; column < 5; ++column) {
        store.WriteNumber(key, kColumnNames[column], m_shell->DetailsView().columnWidth(column));
    }
    store.WriteNumber(key, "LogPanelVisible", m_shell->BottomPanel()->isVisibleTo(this) ? 1 : 0);
    store.WriteString(key, "DownloadtoFolderPath", m_downloadFolder);
}

} // namespace qx
