#pragma once

#include <QObject>
#include <QString>

#include <string>

namespace qx {

// Plays wave files asynchronously, as the global options name them. A relative name is looked
// for in the current folder and beside the program; a missing file or sound device is silent.
class TSoundPlayer final : public QObject {
    Q_OBJECT
public:
    explicit TSoundPlayer(QObject* parent = nullptr);
    void Play(const std::string& file);
    static QString Resolve(const QString& file);
};

} // namespace qx
