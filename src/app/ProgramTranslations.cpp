// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ProgramTranslations.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>

namespace qx {

namespace {

const QString kCataloguePrefix = QStringLiteral("quorvin-explorer_");

// The catalogues of the program in FOLDERS, by the part of their names after the prefix.
QStringList AvailableLanguages(const QStringList& folders) {
    QStringList languages;
    for (const QString& folder : folders) {
        const QStringList files =
            QDir(folder).entryList({kCataloguePrefix + QStringLiteral("*.qm")}, QDir::Files);
        for (const QString& file : files) {
            languages.append(file.mid(kCataloguePrefix.size()).chopped(3));
        }
    }
    return languages;
}

// Installs the catalogue FILE (without ".qm") of FOLDER; null when there is none.
std::unique_ptr<QTranslator> Install(const QString& file, const QString& folder) {
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(file, folder) || !QCoreApplication::installTranslator(translator.get())) {
        return nullptr;
    }
    return translator;
}

} // namespace

QString ChooseTranslation(const QStringList& uiLanguages, const QStringList& available) {
    for (QString wanted : uiLanguages) {
        wanted.replace(QLatin1Char('-'), QLatin1Char('_'));
        QString language = wanted.section(QLatin1Char('_'), 0, 0).toLower();
        if (language == QLatin1String("en") || language == QLatin1String("c")) {
            return {};
        }
        if (available.contains(wanted)) {
            return wanted;
        }
        if (available.contains(language)) {
            return language;
        }
    }
    return {};
}

QStringList TranslationFolders() {
    const QString beside = QCoreApplication::applicationDirPath();
    return {beside + QStringLiteral("/translations"),
            beside + QStringLiteral("/../share/quorvin-explorer/translations")};
}

TProgramTranslations::TProgramTranslations(const QStringList& uiLanguages,
                                           const QStringList& folders)
    : m_language(ChooseTranslation(uiLanguages, AvailableLanguages(folders))) {
    if (m_language.isEmpty()) {
        return;
    }
    for (const QString& folder : folders) {
        if (auto own = Install(kCataloguePrefix + m_language, folder)) {
            m_installed.push_back(std::move(own));
            break;
        }
    }
    // Qt's texts (standard buttons, file dialogs, key names) and the editor control's menu.
    const QString qtFolder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    for (const QString& catalogue : {QStringLiteral("qtbase_"), QStringLiteral("qscintilla_")}) {
        if (auto qt = Install(catalogue + m_language, qtFolder)) {
            m_installed.push_back(std::move(qt));
        }
    }
}

TProgramTranslations::~TProgramTranslations() {
    for (const auto& translator : m_installed) {
        QCoreApplication::removeTranslator(translator.get());
    }
}

} // namespace qx
