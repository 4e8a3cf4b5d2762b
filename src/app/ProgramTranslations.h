// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <QTranslator>

#include <memory>
#include <vector>

namespace qx {

// The language of the program's texts for the user's languages in order of preference (as
// QLocale::uiLanguages gives them, "de-AT", "de", "en-US"...): the first one that has a catalogue
// among AVAILABLE ("de", "pt_BR": the names of the .qm files after "quorvin-explorer_"), tried by
// its full name and then by its language alone. Empty for English, the language of the sources,
// when it comes first, and when none of the languages has a catalogue.
QString ChooseTranslation(const QStringList& uiLanguages, const QStringList& available);

// The folders searched for the program's .qm files: `translations` beside the program (the build
// tree) and share/quorvin-explorer/translations of the installation.
QStringList TranslationFolders();

// The catalogues of the user's language installed into the application for as long as this
// object lives: the program's own and Qt's (the texts of Qt's standard dialogs and buttons).
// Nothing is installed for English.
class TProgramTranslations {
public:
    TProgramTranslations(const QStringList& uiLanguages, const QStringList& folders);
    ~TProgramTranslations();
    TProgramTranslations(const TProgramTranslations&) = delete;
    TProgramTranslations& operator=(const TProgramTranslations&) = delete;

    // The language installed, empty for none.
    const QString& Language() const { return m_language; }

private:
    QString m_language;
    std::vector<std::unique_ptr<QTranslator>> m_installed;
};

} // namespace qx
