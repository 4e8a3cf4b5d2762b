// SPDX-License-Identifier: GPL-3.0-or-later
#include "queue/gui/CarrierQueueModels.h"

namespace qx {

TCarrierQueueModels::TCarrierQueueModels(TCarrierQueue& queue) : m_queue(queue) {
    for (const TCarrierList list :
         {TCarrierList::Queue, TCarrierList::Status, TCarrierList::Success, TCarrierList::Fail}) {
        m_models[static_cast<std::size_t>(list)] = std::make_unique<TCarrierListModel>(queue, list);
    }
    m_queue.SetView(this);
}

TCarrierQueueModels::~TCarrierQueueModels() {
    m_queue.SetView(nullptr);
}

TCarrierListModel& TCarrierQueueModels::Model(TCarrierList list) const {
    return *m_models[static_cast<std::size_t>(list)];
}

void TCarrierQueueModels::SetIconProvider(const TCarrierListModel::IconProvider& icons) {
    for (const auto& model : m_models) {
        model->SetIconProvider(icons);
    }
}

void TCarrierQueueModels::RowsAboutToBeInserted(TCarrierList list, std::size_t first,
                                                std::size_t last) {
    Model(list).BeginInsert(first, last);
}

void TCarrierQueueModels::RowsInserted(TCarrierList list) {
    Model(list).EndInsert();
}

void TCarrierQueueModels::RowsAboutToBeRemoved(TCarrierList list, std::size_t first,
                                               std::size_t last) {
    Model(list).BeginRemove(first, last);
}

void TCarrierQueueModels::RowsRemoved(TCarrierList list) {
    Model(list).EndRemove();
}

void TCarrierQueueModels::RowChanged(TCarrierList list, std::size_t row) {
    Model(list).RowChanged(row);
}

void TCarrierQueueModels::CaptionChanged(const std::string& /*caption*/) {
    if (OnCaptionChanged) {
        OnCaptionChanged();
    }
}

void TCarrierQueueModels::StateChanged() {
    if (OnStateChanged) {
        OnStateChanged();
    }
}

} // namespace qx
