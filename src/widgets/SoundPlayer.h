// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <QUrl>

#include <string>

namespace qx {

// Plays the sounds of the global options asynchronously; a missing file or sound device is
// silent.
class TSoundPlayer final : public QObject {
    Q_OBJECT
public:
    explicit TSoundPlayer(QObject* parent = nullptr);
    void Play(const std::string& file);

    // Where the sound of an option comes from: the wave file it names (a relative name is
    // looked for in the current folder and beside the program). A default name without such a
    // file ("Loggedin.wav", "TransferDone.wav", "Error.wav") plays the desktop's sound of the
    // same meaning, from the freedesktop sound theme ("service-login", "complete",
    // "dialog-error"), else the program's own. Empty when there is nothing to play.
    static QUrl Resolve(const QString& file);
};

} // namespace qx
