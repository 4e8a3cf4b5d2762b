// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QWidget>

namespace qx {

// The picture shown while the program starts: borderless, on top, centred, 450 × 300. A
// missing or unreadable picture leaves a plain panel with the product name.
class TSplashForm final : public QWidget {
    Q_OBJECT
public:
    explicit TSplashForm(const QString& pictureFile, QWidget* parent = nullptr);
    bool HasPicture() const { return !m_picture.isNull(); }

    // "splash.jpg" in the current folder, else beside the program or in its data folder.
    static QString FindPicture();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_picture;
};

} // namespace qx
