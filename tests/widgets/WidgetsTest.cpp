// SPDX-License-Identifier: GPL-3.0-or-later
// Parts several windows share: the folder chooser keeps its start folder in sight, a captioned
// dialog is never narrower than its title, and the default sounds find something to play.

#include "support/TempDir.h"
#include "widgets/BrowseFolderDialog.h"
#include "widgets/CaptionedDialog.h"
#include "widgets/SoundPlayer.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QStyle>
#include <QTest>
#include <QTreeView>
#include <QVBoxLayout>

#include <filesystem>

using namespace qx;
using namespace qx::test;

namespace {

class TSmallDialog final : public TCaptionedDialog {
public:
    TSmallDialog() : TCaptionedDialog({}, 0, nullptr) {
        setWindowTitle(QStringLiteral("Pellucor's Remote Explorer [A Rather Long Caption Text]"));
        Body().addWidget(new QLabel(QStringLiteral("x"), this));
    }
};

} // namespace

class WidgetsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // F7's chooser starts deep in a folder with many neighbours above it: once they have been
    // read, the start folder is still the one in sight.
    void theFolderChooserShowsItsStartFolder() {
        TempDir dir;
        for (int n = 0; n < 80; ++n) {
            std::filesystem::create_directories(dir.path() / ("a" + std::to_string(100 + n)));
        }
        const std::filesystem::path start = dir.path() / "z" / "deeper" / "start";
        std::filesystem::create_directories(start);
        TBrowseFolderDialog dialog(
            {QStringLiteral("Download to..."), QString::fromStdString(start.string()), {}, false});
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        auto* folders = dialog.findChild<QTreeView*>(QStringLiteral("FolderTreeView"));
        QVERIFY(folders != nullptr);
        const auto neighboursRead = [&] {
            return folders->model()->rowCount(folders->currentIndex().parent().parent().parent()) >
                   80;
        };
        QTRY_VERIFY_WITH_TIMEOUT(neighboursRead(), 10000);
        QTest::qWait(300); // the last folders read
        QCOMPARE(dialog.Folder(), QString::fromStdString(start.string()));
        const QRect shown = folders->visualRect(folders->currentIndex());
        QVERIFY2(folders->viewport()->rect().contains(shown),
                 qPrintable(QStringLiteral("the start folder stands at %1,%2 of %3x%4")
                                .arg(shown.x())
                                .arg(shown.y())
                                .arg(folders->viewport()->width())
                                .arg(folders->viewport()->height())));
    }

    // The title in the bold face of title bars, with room for the icon and three buttons.
    void aCaptionedDialogIsAsWideAsItsTitle() {
        TSmallDialog dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QFont bold = QApplication::font();
        bold.setBold(true);
        const int button = dialog.style()->pixelMetric(QStyle::PM_TitleBarHeight);
        const int needed = QFontMetrics(bold).horizontalAdvance(dialog.windowTitle()) + 4 * button;
        QVERIFY2(dialog.width() >= needed,
                 qPrintable(QStringLiteral("%1 wide for %2").arg(dialog.width()).arg(needed)));
    }

    // The default sound names: the desktop's sound theme where it has the sound, else the
    // program's own; any other file plays as named.
    void theDefaultSoundsComeFromTheThemeOrTheProgram() {
        TempDir home;
        TempDir data;
        qputenv("XDG_DATA_HOME", QByteArray::fromStdString(home.path().string()));
        qputenv("XDG_DATA_DIRS", QByteArray::fromStdString(data.path().string()));
        TSoundPlayer player; // brings in the program's own sounds

        for (const char* name : {"Loggedin.wav", "TransferDone.wav", "Error.wav"}) {
            const QUrl own = TSoundPlayer::Resolve(QLatin1String(name));
            QCOMPARE(own, QUrl(QStringLiteral("qrc:/sounds/") + QLatin1String(name)));
            QFile file(QLatin1Char(':') + own.path());
            QVERIFY2(file.open(QIODevice::ReadOnly), name);
            const QByteArray header = file.read(44);
            QVERIFY(header.startsWith("RIFF") && header.mid(8, 8) == "WAVEfmt ");
            QVERIFY(file.size() > 4000); // a sound, not a click
        }

        const std::string complete =
            data.write("sounds/freedesktop/stereo/complete.oga", "OggS (a sound)");
        QCOMPARE(TSoundPlayer::Resolve(QStringLiteral("TransferDone.wav")),
                 QUrl::fromLocalFile(QString::fromStdString(complete)));
        const std::string error =
            home.write("sounds/freedesktop/stereo/dialog-error.oga", "OggS (a sound)");
        QCOMPARE(TSoundPlayer::Resolve(QStringLiteral("Error.wav")),
                 QUrl::fromLocalFile(QString::fromStdString(error)));

        const std::string own = home.write("bell.wav", "RIFF");
        QCOMPARE(TSoundPlayer::Resolve(QString::fromStdString(own)),
                 QUrl::fromLocalFile(QString::fromStdString(own)));
        QVERIFY(TSoundPlayer::Resolve(QStringLiteral("Missing.wav")).isEmpty());
        QVERIFY(TSoundPlayer::Resolve(QString::fromStdString(home.file("gone.wav"))).isEmpty());
    }
};

QTEST_MAIN(WidgetsTest)
#include "WidgetsTest.moc"
