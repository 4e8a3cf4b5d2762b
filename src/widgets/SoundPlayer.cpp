// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/SoundPlayer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#ifdef QX_HAVE_MULTIMEDIA
#include <QAudioOutput>
#include <QMediaPlayer>
#include <QSoundEffect>
#endif

// The resource of a static library is brought in by hand, from outside any namespace.
static void InitSoundResources() {
    Q_INIT_RESOURCE(sounds);
}

namespace qx {

namespace {

struct TDefaultSound {
    const char* FileName; // the default of the option
    const char* ThemeName;
};
constexpr TDefaultSound kDefaultSounds[] = {
    {"Loggedin.wav", "service-login"},
    {"TransferDone.wav", "complete"},
    {"Error.wav", "dialog-error"},
};

// A sound of the freedesktop sound theme, in the data folders of the desktop.
QString ThemeSound(const char* name) {
    for (const char* folder : {"sounds/freedesktop/stereo/", "sounds/freedesktop/"}) {
        for (const char* extension : {".oga", ".ogg", ".wav"}) {
            QString path = QStandardPaths::locate(QStandardPaths::GenericDataLocation,
                                                  QLatin1String(folder) + QLatin1String(name) +
                                                      QLatin1String(extension));
            if (!path.isEmpty()) {
                return path;
            }
        }
    }
    return {};
}

} // namespace

TSoundPlayer::TSoundPlayer(QObject* parent) : QObject(parent) {
    InitSoundResources();
}

QUrl TSoundPlayer::Resolve(const QString& file) {
    if (file.isEmpty()) {
        return {};
    }
    const QFileInfo info(file);
    if (info.isAbsolute()) {
        return info.isFile() ? QUrl::fromLocalFile(file) : QUrl();
    }
    for (const QString& folder : {QDir::currentPath(), QCoreApplication::applicationDirPath()}) {
        const QString path = QDir(folder).filePath(file);
        if (QFileInfo(path).isFile()) {
            return QUrl::fromLocalFile(path);
        }
    }
    for (const TDefaultSound& sound : kDefaultSounds) {
        if (file.compare(QLatin1String(sound.FileName), Qt::CaseInsensitive) == 0) {
            const QString themed = ThemeSound(sound.ThemeName);
            return themed.isEmpty()
                       ? QUrl(QStringLiteral("qrc:/sounds/") + QLatin1String(sound.FileName))
                       : QUrl::fromLocalFile(themed);
        }
    }
    return {};
}

void TSoundPlayer::Play(const std::string& file) {
    const QUrl source = Resolve(QString::fromStdString(file));
    if (source.isEmpty()) {
        return;
    }
#ifdef QX_HAVE_MULTIMEDIA
    if (source.path().endsWith(QLatin1String(".wav"), Qt::CaseInsensitive)) {
        auto* effect = new QSoundEffect(this);
        effect->setSource(source);
        connect(effect, &QSoundEffect::playingChanged, effect, [effect] {
            if (!effect->isPlaying()) {
                effect->deleteLater();
            }
        });
        connect(effect, &QSoundEffect::statusChanged, effect, [effect] {
            if (effect->status() == QSoundEffect::Error) {
                effect->deleteLater();
            }
        });
        effect->play();
        return;
    }
    // The theme's sounds are compressed (Ogg Vorbis), which only the media player decodes.
    auto* player = new QMediaPlayer(this);
    player->setAudioOutput(new QAudioOutput(player));
    connect(player, &QMediaPlayer::playbackStateChanged, player,
            [player](QMediaPlayer::PlaybackState state) {
                if (state == QMediaPlayer::StoppedState) {
                    player->deleteLater();
                }
            });
    connect(player, &QMediaPlayer::errorOccurred, player, [player] { player->deleteLater(); });
    player->setSource(source);
    player->play();
#endif
}

} // namespace qx
