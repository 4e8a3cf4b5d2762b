// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "editor/SearchOptions.h"

#include <QDialog>

#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QPushButton;
class QRadioButton;

namespace qx {

// The find-and-replace dialog of the online editor, in find or in replace mode. Its combo
// boxes offer the histories; its controls start from the stored options.
class TFindReplaceForm final : public QDialog {
    Q_OBJECT
public:
    enum TMode { Find, Replace };
    // The result codes of exec() beyond Accepted and Rejected.
    static constexpr int ReplaceAllResult = 2;

    TFindReplaceForm(TMode mode, const std::vector<std::string>& findHistory,
                     const std::vector<std::string>& replaceHistory, const TSearchOptions& options,
                     QWidget* parent);

    QString FindText() const;
    QString ReplaceText() const;
    void SetFindText(const QString& text);
    void SetReplaceText(const QString& text);
    TSearchChoice Choice() const;

    QPushButton* OkButton() const { return m_ok; }
    QPushButton* ReplaceAllButton() const { return m_replaceAll; }

private:
    void UpdateButtons();

    TMode m_mode;
    QComboBox* m_find;
    QComboBox* m_replace = nullptr;
    QCheckBox* m_prompt = nullptr;
    QCheckBox* m_caseSensitive;
    QCheckBox* m_wholeWords;
    QRadioButton* m_forward;
    QRadioButton* m_backward;
    QRadioButton* m_global;
    QRadioButton* m_selected;
    QRadioButton* m_fromCursor;
    QRadioButton* m_entireScope;
    QPushButton* m_ok;
    QPushButton* m_replaceAll = nullptr;
};

} // namespace qx
