#include "widgets/SoundPlayer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

#ifdef QX_HAVE_MULTIMEDIA
#include <QSoundEffect>
#endif

namespace qx {

TSoundPlayer::TSoundPlayer(QObject* parent) : QObject(parent) {}

QString TSoundPlayer::Resolve(const QString& file) {
    if (file.isEmpty()) {
        return {};
    }
    const QFileInfo info(file);
    if (info.isAbsolute()) {
        return info.isFile() ? file : QString();
    }
    for (const QString& folder : {QDir::currentPath(), QCoreApplication::applicationDirPath()}) {
        const QString path = QDir(folder).filePath(file);
        if (QFileInfo(path).isFile()) {
            return path;
        }
    }
    return {};
}

void TSoundPlayer::Play(const std::string& file) {
    const QString path = Resolve(QString::fromStdString(file));
    if (path.isEmpty()) {
        return;
    }
#ifdef QX_HAVE_MULTIMEDIA
    auto* effect = new QSoundEffect(this);
    effect->setSource(QUrl::fromLocalFile(path));
    connect(effect, &QSoundEffect::playingChanged, effect, [effect] {
        if (!effect->isPlaying()) {
            effect->deleteLater();
        }
    });
    effect->play();
#endif
}

} // namespace qx
