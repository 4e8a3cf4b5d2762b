// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "queue/CarrierQueue.h"
#include "queue/gui/CarrierListModel.h"

#include <array>
#include <functional>
#include <memory>

namespace qx {

// The four list models of a queue, and the queue's view that keeps them up to date. It
// attaches itself to the queue for its lifetime.
class TCarrierQueueModels final : public TCarrierQueueView {
public:
    explicit TCarrierQueueModels(TCarrierQueue& queue);
    ~TCarrierQueueModels() override;
    TCarrierQueueModels(const TCarrierQueueModels&) = delete;
    TCarrierQueueModels& operator=(const TCarrierQueueModels&) = delete;

    TCarrierListModel& Model(TCarrierList list) const;
    void SetIconProvider(const TCarrierListModel::IconProvider& icons);

    // Raised for every change of the caption text, and of the running count or service state.
    std::function<void()> OnCaptionChanged;
    std::function<void()> OnStateChanged;

    void RowsAboutToBeInserted(TCarrierList list, std::size_t first, std::size_t last) override;
    void RowsInserted(TCarrierList list) override;
    void RowsAboutToBeRemoved(TCarrierList list, std::size_t first, std::size_t last) override;
    void RowsRemoved(TCarrierList list) override;
    void RowChanged(TCarrierList list, std::size_t row) override;
    void CaptionChanged(const std::string& caption) override;
    void StateChanged() override;

private:
    TCarrierQueue& m_queue;
    std::array<std::unique_ptr<TCarrierListModel>, 4> m_models;
};

} // namespace qx
