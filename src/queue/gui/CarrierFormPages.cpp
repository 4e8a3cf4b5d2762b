// SPDX-License-Identifier: GPL-3.0-or-later
// The four list pages of the queue window and what the commands read of their selections.

#include "queue/gui/CarrierForm.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QStyle>
#include <QTabWidget>
#include <QTreeView>

#include <string_view>
#include <utility>

namespace qx {

namespace {

constexpr std::array<TCarrierList, 4> kLists = {TCarrierList::Queue, TCarrierList::Status,
                                                TCarrierList::Success, TCarrierList::Fail};

// A typical text of each column, so that the first widths fit what the rows usually hold.
QString WidthSample(std::string_view column) {
    static constexpr std::pair<std::string_view, const char*> samples[] = {
        {"File Name", "a-rather-long-name-1.2.tar.gz"},
        {"Source", "ftp.example.org/pub/folder/"},
        {"Destination", "ftp.example.org/pub/folder/"},
        {"Command", "Explore"},
        {"Size", "4294967296"},
        {"Type", "Compressed archive"},
        {"Transfer Type", "Binary Binary"},
        {"Position", "4294967296"},
        {"Transfer Rate", "99999.99 KB/s"},
        {"Time Left", "00:00:00"},
        {"Done", "100 %"},
        {"Response", "~ [ftp.example.org]: User [anonymous] logged in"},
        {"Error Message", "550 Failed to open file."},
    };
    for (const auto& [name, sample] : samples) {
        if (name == column) {
            return QString::fromLatin1(sample);
        }
    }
    return {};
}

QTreeView* MakeListView(const QString& name, QAbstractItemModel& model, QWidget* parent) {
    auto* view = new QTreeView(parent);
    view->setObjectName(name);
    view->setModel(&model);
    view->setRootIsDecorated(false);
    view->setItemsExpandable(false);
    view->setExpandsOnDoubleClick(false);
    view->setUniformRowHeights(true); // keeps twenty thousand rows cheap to lay out
    view->setAllColumnsShowFocus(true);
    view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setFrameShape(QFrame::NoFrame);
    view->setTextElideMode(Qt::ElideMiddle); // paths and names keep both ends
    view->header()->setStretchLastSection(true);
    return view;
}

} // namespace

void TCarrierForm::CreatePages() {
    m_pages = new QTabWidget(this);
    m_pages->setObjectName(QStringLiteral("CarrierPageControl"));
    m_pages->setDocumentMode(true);
    const std::pair<const char*, QString> pages[] = {
        {"QueueListView", tr("Queue")},
        {"StatusListView", tr("Status")},
        {"SuccessListView", tr("Success")},
        {"FailListView", tr("Fail")},
    };
    for (std::size_t page = 0; page < kLists.size(); ++page) {
        QTreeView* view = MakeListView(QString::fromLatin1(pages[page].first),
                                       m_models.Model(kLists[page]), m_pages);
        m_views[page] = view;
        m_pages->addTab(view, pages[page].second);
    }
    setCentralWidget(m_pages);
    SetDefaultColumnWidths();
}

void TCarrierForm::SetDefaultColumnWidths() {
    for (std::size_t page = 0; page < kLists.size(); ++page) {
        QTreeView* view = m_views[page];
        const QFontMetrics metrics(view->font());
        const int padding = 2 * metrics.horizontalAdvance(QLatin1Char('M'));
        const int icon =
            view->style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, view) +
            view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) * 2;
        const auto& columns = TCarrierQueue::Columns(kLists[page]);
        for (std::size_t column = 0; column < columns.size(); ++column) {
            const QString header = QString::fromStdString(columns[column]);
            int width = std::max(metrics.horizontalAdvance(header),
                                 metrics.horizontalAdvance(WidthSample(columns[column]))) +
                        padding;
            if (column == 0) {
                width += icon;
            }
            view->setColumnWidth(static_cast<int>(column), width);
        }
    }
}

QTreeView* TCarrierForm::ListView(TCarrierList list) const {
    return m_views[static_cast<std::size_t>(list)];
}

std::vector<std::size_t> TCarrierForm::SelectedRows(TCarrierList list) const {
    std::vector<std::size_t> rows;
    for (const QModelIndex& index : ListView(list)->selectionModel()->selectedRows()) {
        rows.push_back(static_cast<std::size_t>(index.row()));
    }
    return rows;
}

bool TCarrierForm::HasSelection(TCarrierList list) const {
    return ListView(list)->selectionModel()->hasSelection();
}

} // namespace qx
