// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/SplashForm.h"

#include "app/MainForm.h"
#include "base/JpegImage.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

namespace qx {

QString TSplashForm::FindPicture() {
    const QString name = QStringLiteral("splash.jpg");
    const QString beside = QCoreApplication::applicationDirPath();
    for (const QString& folder :
         {QDir::currentPath(), beside, beside + QStringLiteral("/../share/quorvin-explorer")}) {
        QString path = QDir(folder).filePath(name);
        if (QFileInfo::exists(path)) {
            return path;
        }
    }
    return {};
}

TSplashForm::TSplashForm(const QString& pictureFile, QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("SplashForm"));
    setFixedSize(450, 300);
    if (!pictureFile.isEmpty()) {
        std::string error;
        if (auto image = DecodeJpegFile(pictureFile.toStdString(), error)) {
            // The decoder's rows become the picture; the copy owns its bytes.
            m_picture = QImage(image->Rgb.data(), image->Width, image->Height, image->Width * 3,
                               QImage::Format_RGB888)
                            .copy();
        }
    }
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->geometry().center() - rect().center());
    }
}

void TSplashForm::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!m_picture.isNull()) {
        painter.drawImage(rect(), m_picture);
        return;
    }
    QLinearGradient gradient(rect().topLeft(), rect().bottomRight());
    gradient.setColorAt(0, QColor(0x20, 0x4a, 0x87));
    gradient.setColorAt(1, QColor(0x72, 0x9f, 0xcf));
    painter.fillRect(rect(), gradient);
    painter.setPen(Qt::white);
    QFont font = painter.font();
    font.setPointSize(20);
    font.setBold(true);
    painter.setFont(font);
    painter.drawText(rect(), Qt::AlignCenter, QLatin1String(kProductTitle));
}

} // namespace qx
