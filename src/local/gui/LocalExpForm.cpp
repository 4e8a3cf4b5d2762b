// SPDX-License-Identifier: GPL-3.0-or-later
// The local explorer window: its parts, the panes and their status texts, its settings and
// hiding instead of closing. Commands are in LocalExpActions.cpp and LocalExpVerbs.cpp,
// sending and receiving in LocalExpTransfers.cpp.

#include "local/gui/LocalExpForm.h"
#include "sync/gui/LocalEntriesReader.h"

#include "base/Utilities.h"
#include "local/LocalExpSettings.h"
#include "local/LocalFileSystem.h"
#include "local/LocalTransfers.h"
#include "local/LocalVolumes.h"
#include "local/gui/LocalCopyRunner.h"
#include "local/gui/LocalFileListModel.h"
#include "local/gui/LocalFolderTreeModel.h"
#include "local/gui/LocalIconProvider.h"
#include "remote/RemoteExpList.h"
#include "remote/gui/RemoteExpForm.h"
#include "settings/GlobalOptions.h"
#include "sync/FolderPairing.h"
#include "widgets/CoreTexts.h"
#include "widgets/ExplorerShell.h"
#include "widgets/FileListViews.h"
#include "widgets/TitlePanel.h"

#include <QAbstractFileIconProvider>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QListView>
#include <QMenuBar>
#include <QMessageBox>
#include <QStatusBar>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>

#include <sys/stat.h>

#include <tuple>

namespace qx {

namespace {

constexpr int kHelpContext = 1003;

QString FromStd(const std::string& text) {
    return QString::fromStdString(text);
}

// A path of the file system for display (a name that is not valid UTF-8 shows replacement
// characters).
QString Shown(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

bool IsFolder(const std::string& path) {
    struct stat info {};
    return !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

} // namespace

TLocalExpForm::TLocalExpForm(TLocalExpContext context, QWidget* parent)
    : TExplorerWindow(parent, kHelpContext), m_context(std::move(context)),
      m_iconProvider(new TLocalIconProvider) { // given to the window at the end
    setObjectName(QStringLiteral("LocalExpForm"));
    setWindowTitle(tr("Pellucor's Local Explorer %1").arg(QString()));
    m_copier = new TLocalCopyRunner(this);
    m_compareReader = new TLocalEntriesReader(this);
    m_pairing = std::make_shared<TFolderPairing>();
    m_pairing->SetLocalSide(
        {[this](const std::string& folder) { SetFolder(folder); }, [this] { CompareChanged(); }});
    BuildWindow();
    CreateActions();
    ApplyAppearance();
    resize(563, 407);
    if (m_context.Main != nullptr) {
        move(0, m_context.Main->frameGeometry().height() + 5);
    }
    LoadSettings();
    m_iconProvider->setParent(this);
}

TLocalExpForm::~TLocalExpForm() {
    // A remote explorer may outlive the window: it hears the comparison end, this one no more.
    m_pairing->SetLocalSide({});
    m_pairing->Stop();
    SaveSettings();
}

void TLocalExpForm::BuildWindow() {
    auto* header = new QWidget(this);
    auto* headerLayout = new QVBoxLayout(header);
    headerLayout->setContentsMargins(0, 0, 0, 0);
    headerLayout->setSpacing(0);
    m_gradCaption = new TTitlePanel(header);
    m_gradCaption->setObjectName(QStringLiteral("GradCaption"));
    m_gradCaption->SetApplicationText(tr("Local Explorer"));
    m_gradCaption->SetCompanyText(QStringLiteral("Pellucor's"));
    m_gradCaption->setFixedHeight(18);
    headerLayout->addWidget(m_gradCaption);
    auto* menus = new QMenuBar(header);
    headerLayout->addWidget(menus);
    setMenuWidget(header);

    TExplorerShellSpec spec;
    spec.TreeWidth = 169;
    spec.ListWidth = 394;
    spec.TreeActiveAtStart = true;
    m_shell = new TExplorerShell(*this, spec);
    static constexpr int kWidths[] = {200, 120, 200};
    for (int panel = 0; panel < 3; ++panel) {
        m_status[panel] = new QLabel(this);
        m_status[panel]->setMinimumWidth(kWidths[panel]);
        statusBar()->addWidget(m_status[panel], panel == 2 ? 1 : 0);
    }
    BuildViews();
    ConnectViews();
}

void TLocalExpForm::BuildViews() {
    // The tree holds folders only (hidden ones too) under the root, the home folder and the
    // volumes; the list everything, its name filter applying to files only.
    m_treeModel = new TLocalFolderTreeModel(
        *m_iconProvider, QFile::encodeName(QDir::homePath()).toStdString(), this);
    m_listModel = new TLocalFileListModel(*m_iconProvider, this);
    m_shell->SetModels(m_treeModel, m_listModel);
    m_shell->SetNameWidth([this](const QFont& font) {
        const std::vector<TLocalFileEntry>& rows = m_listModel->Rows();
        return WidestNameWidth(font, rows.size(),
                               [&](std::size_t row) { return std::string_view(rows[row].Name); });
    });
    auto* treeItems = new TFileItemDelegate(&m_shell->TreeView());
    treeItems->SetMarked([this](const QModelIndex& index) {
        return m_treeMark.isValid() && index.row() == m_treeMark.row() &&
               index.parent() == m_treeMark.parent();
    });
    treeItems->SetCut([this](const QModelIndex& index) {
        return !m_cutPaths.empty() && m_cutPaths.contains(m_treeModel->FilePath(index));
    });
    m_shell->TreeView().setItemDelegate(treeItems);
    for (QAbstractItemView* view : {static_cast<QAbstractItemView*>(&m_shell->DetailsView()),
                                    static_cast<QAbstractItemView*>(&m_shell->IconView())}) {
        auto* items = new TFileItemDelegate(view);
        // The mark and the cut look go by row: the details view asks for every cell.
        items->SetMarked([this](const QModelIndex& index) {
            return m_listMark.isValid() && index.row() == m_listMark.row();
        });
        items->SetCut([this](const QModelIndex& index) {
            return !m_cutPaths.empty() && m_cutPaths.contains(m_listModel->FilePathBytes(index));
        });
        view->setItemDelegate(items);
    }
    m_shell->DetailsView().setColumnWidth(0, 200);
    SetViewStyle(vsList);
}

void TLocalExpForm::ConnectViews() {
    QTreeView& tree = m_shell->TreeView();
    connect(tree.selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                const std::string path = m_treeModel->FilePath(current);
                TTitlePanel& title = m_shell->TreeTitle();
                title.SetCaptionText(QStringLiteral("[%1]").arg(current.data().toString()));
                title.setToolTip(path.empty() ? current.data().toString() : Shown(path));
                if (!path.empty()) {
                    ShowFolder(path); // no file-system call here: the list reads off-thread
                }
            });
    // The tree reads the folders above the current one later; it is shown when they are there.
    connect(m_treeModel, &TLocalFolderTreeModel::FolderRead, this,
            [&tree] { tree.scrollTo(tree.currentIndex()); });
    connect(m_treeModel, &TLocalFolderTreeModel::RenameFailed, this,
            [this](const QString& text) { ShowError(tr("Local Explorer Rename Error"), text); });
    connect(m_listModel, &TLocalFileListModel::Loaded, this,
            [this](const QString& path) { OnFolderLoaded(path); });
    connect(m_listModel, &TLocalFileListModel::RenameFailed, this,
            [this](const QString& text) { ShowError(tr("Local Explorer Rename Error"), text); });
    connect(m_shell->DetailsView().selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this](const QItemSelection& selected, const QItemSelection& deselected) {
                for (const auto& [selection, on] :
                     {std::pair{&selected, true}, std::pair{&deselected, false}}) {
                    for (const QModelIndex& index : selection->indexes()) {
                        if (index.column() == 0) {
                            m_counters.Change(m_listModel->IsDir(index),
                                              m_listModel->Entry(index).Size, on);
                        }
                    }
                }
                OnSelectionChanged();
            });
    connect(m_shell, &TExplorerShell::ColumnClicked, this,
            [this](int column) { ArrangeBy(column); });
    for (QAbstractItemView* view : {static_cast<QAbstractItemView*>(&m_shell->DetailsView()),
                                    static_cast<QAbstractItemView*>(&m_shell->IconView())}) {
        connect(view, &QAbstractItemView::activated, this,
                [this](const QModelIndex& index) { OpenIndex(index); });
    }
    m_shell->WatchViews(*this);
    m_shell->OnTreeMenu = [this](const QPoint& at) { ShowTreePopup(at); };
    m_shell->OnListMenu = [this](QAbstractItemView* view, const QPoint& at) {
        ShowListPopup(view, at);
    };
    m_shell->OnListTitleDoubleClick = [this] { FileFilteringActionExecute(); };
    QComboBox& combo = m_shell->FolderCombo();
    connect(&combo, &QComboBox::activated, this, [this, &combo](int index) {
        SetFolder(combo.itemData(index).toByteArray().toStdString());
        ListView()->setFocus();
    });
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this,
            [this] { UpdateClipboardState(); });
    UpdateClipboardState();
    tree.setFocus();
}

QAbstractItemView* TLocalExpForm::ListView() const {
    return m_shell->ListView();
}

QTreeView* TLocalExpForm::FolderTreeView() const {
    return &m_shell->TreeView();
}

bool TLocalExpForm::TreeActive() const {
    return m_shell->TreeActive();
}

std::optional<std::string> TLocalExpForm::LocalFolder() const {
    // Known from the list's last reading, so that asking never waits for a network mount:
    // a folder that could not be read is no folder to work in.
    if (m_currentFolder.empty() || (m_listModel->IsLoaded() && !m_listModel->Error().isEmpty() &&
                                    !IsFolder(m_currentFolder))) {
        return std::nullopt;
    }
    return m_currentFolder;
}

bool TLocalExpForm::SetFolder(const std::string& path) {
    if (!path.starts_with('/')) {
        return false;
    }
    const std::string folder = CleanLocalPath(path);
    if (!IsFolder(folder)) {
        return false;
    }
    const QModelIndex index = m_treeModel->IndexOf(folder);
    if (!index.isValid()) {
        return false;
    }
    m_shell->TreeView().setCurrentIndex(index);
    m_shell->TreeView().scrollTo(index);
    if (m_currentFolder != folder) {
        ShowFolder(folder); // the tree's index may have been current already
    }
    return true;
}

void TLocalExpForm::ShowFolder(const std::string& path) {
    if (path == m_currentFolder) {
        return;
    }
    m_currentFolder = path;
    m_counters.Reset();
    m_folderFilled = false;
    m_listMark = QPersistentModelIndex();
    for (QLabel* panel : m_status) {
        panel->clear();
    }
    m_shell->DetailsView().selectionModel()->clearSelection();
    m_listModel->SetFolder(path, !m_treeModel->IsOnNetwork(path));
    const QString shown = Shown(path);
    m_shell->ListTitle().SetCaptionText(QStringLiteral("[%1][%2]").arg(shown, m_filter));
    m_shell->ListTitle().setToolTip(shown);
    m_gradCaption->SetCaptionText(QStringLiteral("[%1]").arg(shown));
    setWindowTitle(tr("Pellucor's Local Explorer %1").arg(QStringLiteral("[%1]").arg(shown)));
    // The mount points among the folder's items, from the mount table (nothing is asked of the
    // mounted file systems).
    m_mountPointsHere.clear();
    for (const TMountEntry& mount : ReadMountTable()) {
        if (mount.MountPoint != path && mount.MountPoint != "/" &&
            LocalParentFolder(mount.MountPoint) == (path == "/" ? path : path + "/")) {
            m_mountPointsHere.insert(mount.MountPoint);
        }
    }
    FillFolderCombo();
}

void TLocalExpForm::OnFolderLoaded(const QString&) {
    if (m_listModel->Folder() != m_currentFolder) {
        return;
    }
    if (!LocalFolder()) {
        for (QLabel* panel : m_status) {
            panel->clear();
        }
        return;
    }
    int folders = 0;
    int files = 0;
    std::int64_t bytes = 0;
    for (const TLocalFileEntry& entry : m_listModel->Rows()) {
        if (entry.IsFolder) {
            ++folders;
        } else {
            ++files;
            bytes += std::max<std::int64_t>(0, entry.Size);
        }
    }
    m_status[0]->setText(FromStd(
        FolderStatusText(folders, files, bytes, CoreFormat(kFolderStatusFormat), DecimalPoint())));
    if (!m_listModel->Error().isEmpty()) {
        // A folder that cannot be read (permissions) says so instead of looking empty.
        m_status[0]->setText(
            tr("Cannot read [%1]: %2.").arg(Shown(m_currentFolder), m_listModel->Error()));
    }
    m_status[1]->setText(FromStd(GetDiskFreeSpaceText(m_currentFolder)));
    // The sizes of the selected files may have changed with the rows.
    m_counters.Reset();
    for (const QModelIndex& row : m_shell->DetailsView().selectionModel()->selectedRows(0)) {
        m_counters.Change(m_listModel->IsDir(row), m_listModel->Entry(row).Size, true);
    }
    m_status[2]->setText(FromStd(
        SelectionStatusText(m_counters, CoreFormat(kSelectionStatusFormat), DecimalPoint())));
    m_shell->ShowSortColumn(m_sortColumn);
    m_shell->FitNameWidth();
    m_folderFilled = true;
    CompareShown();
    Q_EMIT FolderFilled();
}

void TLocalExpForm::OnSelectionChanged() {
    if (!m_shell->DetailsView().selectionModel()->hasSelection()) {
        m_counters.Reset();
    }
    if (LocalFolder()) {
        m_status[2]->setText(FromStd(
            SelectionStatusText(m_counters, CoreFormat(kSelectionStatusFormat), DecimalPoint())));
    }
}

void TLocalExpForm::FillFolderCombo() {
    // The folders above the current one, then the tree's top level: the home folder and the
    // mounted volumes. The items carry the paths' bytes.
    QComboBox& combo = m_shell->FolderCombo();
    const QSignalBlocker quiet(combo);
    combo.clear();
    const QIcon folderIcon = m_iconProvider->icon(QAbstractFileIconProvider::Folder);
    std::vector<std::string> chain;
    for (std::string path = m_currentFolder; !path.empty();) {
        chain.insert(chain.begin(), path);
        if (path == "/") {
            break;
        }
        path = LocalParentFolder(path);
        if (path.size() > 1) {
            path.pop_back();
        }
    }
    for (const std::string& path : chain) {
        combo.addItem(folderIcon, Shown(path), QByteArray::fromStdString(path));
    }
    const int current = combo.count() - 1;
    for (int row = 0; row < m_treeModel->rowCount(); ++row) {
        const QModelIndex top = m_treeModel->index(row, 0);
        const QByteArray path = QByteArray::fromStdString(m_treeModel->FilePath(top));
        if (combo.findData(path) < 0) {
            combo.addItem(top.data(Qt::DecorationRole).value<QIcon>(), Shown(path.toStdString()),
                          path);
        }
    }
    combo.setCurrentIndex(current);
}

void TLocalExpForm::SetViewStyle(int style) {
    m_shell->SetViewStyle(style);
}

int TLocalExpForm::ViewStyle() const {
    return m_shell->ViewStyle();
}

void TLocalExpForm::ArrangeBy(int column) {
    m_sortColumn = NextSortColumn(m_sortColumn, column);
    m_listModel->SetSortColumn(m_sortColumn); // the rows follow when the worker has sorted them
    m_shell->ShowSortColumn(m_sortColumn);
}

void TLocalExpForm::SetFilter(const QString& filter) {
    m_filter = filter;
    m_listModel->SetNameFilters(FilterPatterns(filter.toStdString()));
    m_shell->ListTitle().SetCaptionText(
        QStringLiteral("[%1][%2]").arg(Shown(m_currentFolder), m_filter));
}

void TLocalExpForm::ActivatePane(bool tree) {
    m_shell->ActivatePane(tree);
}

void TLocalExpForm::ApplyAppearance() {
    const QFont font(FromStd(m_context.Options.FontName), m_context.Options.FontSize);
    setFont(font);
    m_shell->TreeTitle().setFont(font);
    m_shell->ListTitle().setFont(font);
    const QColor grad = ColourFromBgr(m_context.Options.GradColor);
    m_shell->SetTitleColour(grad);
    m_gradCaption->SetColours(Qt::black, grad);
}

QString TLocalExpForm::StatusPanelText(int panel) const {
    return panel >= 0 && panel < 3 ? m_status[panel]->text() : QString();
}

QString TLocalExpForm::FolderTreeCaption() const {
    return m_shell->TreeTitle().Text();
}

QString TLocalExpForm::FileListCaption() const {
    return m_shell->ListTitle().Text();
}

void TLocalExpForm::closeEvent(QCloseEvent* event) {
    event->ignore();
    hide();
}

void TLocalExpForm::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    // A hidden tree does not scroll; the current folder is brought into view once laid out.
    QTimer::singleShot(0, this, [this] {
        m_shell->TreeView().scrollTo(m_shell->TreeView().currentIndex(),
                                     QAbstractItemView::PositionAtCenter);
    });
}

void TLocalExpForm::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && !isActiveWindow()) {
        SetTreeMark({});
    }
    if (event->type() == QEvent::ActivationChange && isActiveWindow() &&
        !m_treeModel->IsOnNetwork(m_currentFolder)) {
        // Files may have grown meanwhile, which the watch of the folder does not see (a folder
        // on the network is read again on Refresh only).
        m_listModel->RefreshEntries();
    }
    QMainWindow::changeEvent(event);
}

void TLocalExpForm::ShowError(const QString& title, const QString& text) {
    QMessageBox::critical(this, title, text);
}

void TLocalExpForm::LoadSettings() {
    TLocalExpSettings settings;
    const bool stored = settings.LoadFromStore(m_context.Store);
    if (settings.ToolbarState) {
        restoreState(QByteArray(settings.ToolbarState->data(),
                                static_cast<qsizetype>(settings.ToolbarState->size())));
    }
    if (stored) {
        m_shell->ApplyPlace({settings.Left, settings.Top, settings.Width, settings.Height,
                             settings.FolderTreePanelWidth, std::nullopt});
        if (settings.SortColumn) {
            m_sortColumn = -*settings.SortColumn; // ArrangeBy turns it back
            ArrangeBy(std::abs(*settings.SortColumn));
        }
        if (settings.ViewStyle) {
            SetViewStyle(*settings.ViewStyle);
        }
    }
    SetFolder(StartFolder(settings.FolderPath));
}

void TLocalExpForm::SaveSettings() {
    TLocalExpSettings settings;
    const QByteArray state = saveState();
    settings.ToolbarState = std::string(state.constData(), static_cast<std::size_t>(state.size()));
    const TExplorerPlace place = m_shell->Place();
    std::tie(settings.Left, settings.Top, settings.Width, settings.Height,
             settings.FolderTreePanelWidth) =
        std::tie(place.Left, place.Top, place.Width, place.Height, place.TreeWidth);
    settings.FolderPath = m_currentFolder;
    settings.SortColumn = m_sortColumn;
    settings.ViewStyle = ViewStyle();
    settings.SaveToStore(m_context.Store, isMaximized());
}

TRemoteExpForm* TLocalExpForm::CurrentRemoteExplorer() const {
    return dynamic_cast<TRemoteExpForm*>(m_context.Explorers.First());
}

} // namespace qx
