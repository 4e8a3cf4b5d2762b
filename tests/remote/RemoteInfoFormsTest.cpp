// SPDX-License-Identifier: GPL-3.0-or-later
// The properties and server information dialogs, and the frame and title panel they share
// with the input dialog.

#include "engine/FTPListItem.h"
#include "remote/gui/RemotePropertiesForm.h"
#include "remote/gui/ServerInfoForm.h"
#include "widgets/QtShellIcons.h"
#include "widgets/TitlePanel.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include <clocale>
#include <cstdint>

using namespace qx;

namespace {

QString LabelText(const QWidget& form, const char* name) {
    return form.findChild<QLabel*>(QString::fromLatin1(name))->text();
}

TFTPListItem File(std::int64_t size) {
    TFTPListItem entry;
    entry.Name = "archive.tar";
    entry.IsFile = true;
    entry.Size = size;
    return entry;
}

} // namespace

class RemoteInfoFormsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() {
        // The decimal separator of sizes follows the user's locale; these texts use a point.
        std::setlocale(LC_NUMERIC, "C");
    }

    void sizeOfFilesAndFolders_data() {
        QTest::addColumn<bool>("isFile");
        QTest::addColumn<qint64>("size");
        QTest::addColumn<QString>("shown");
        QTest::newRow("1536 bytes") << true << qint64(1536) << QStringLiteral("1.5 KB (1536)");
        QTest::newRow("3 MiB") << true << qint64(3145728) << QStringLiteral("3.0 MB (3145728)");
        QTest::newRow("above 4 GiB")
            << true << qint64(5368709120) << QStringLiteral("5120.0 MB (5368709120)");
        QTest::newRow("empty file") << true << qint64(0) << QStringLiteral("0.0 KB (0)");
        QTest::newRow("folder") << false << qint64(-1) << QStringLiteral("0");
    }

    void sizeOfFilesAndFolders() {
        QFETCH(bool, isFile);
        QFETCH(qint64, size);
        QFETCH(QString, shown);
        TFTPListItem entry = File(size);
        entry.IsFile = isFile;
        TRemotePropertiesForm form(QString(), 0);
        form.ShowItem(entry);
        QCOMPARE(LabelText(form, "SizeLabel"), shown);
    }

    void showItemFillsThePage() {
        TFTPListItem link;
        link.Name = "www";
        link.IsLink = true;
        link.LinkTo = "/var/www";
        link.Permission = "lrwxrwxrwx";
        link.DateText = "2024-03-01";
        link.TimeText = "12:30:00";
        link.TypeName = "Link";
        TRemotePropertiesForm form(QString(), 0);
        form.ShowItem(link);
        QCOMPARE(LabelText(form, "NameLabel"), QStringLiteral("www"));
        QCOMPARE(LabelText(form, "LinkLabel"), QStringLiteral("/var/www"));
        QCOMPARE(LabelText(form, "PermLabel"), QStringLiteral("lrwxrwxrwx"));
        QCOMPARE(LabelText(form, "DateLabel"), QStringLiteral("2024-03-01 12:30:00"));
        QCOMPARE(LabelText(form, "TypeLabel"), QStringLiteral("Link"));
        QVERIFY(!form.findChild<QLabel*>(QStringLiteral("IconImage"))->pixmap().isNull());

        // A stale target of an entry that is not a link is not shown.
        TFTPListItem plain = File(10);
        plain.LinkTo = "/elsewhere";
        form.ShowItem(plain);
        QCOMPARE(LabelText(form, "LinkLabel"), QStringLiteral("Not a link"));
    }

    void longPathKeepsTheDialogSize() {
        TRemotePropertiesForm form(QString(), 0);
        form.SetPath(QStringLiteral("/pub"));
        const QSize before = form.sizeHint();
        const QString longPath = QStringLiteral("/pub/") + QString(300, QLatin1Char('x'));
        form.SetPath(longPath);
        QCOMPARE(form.sizeHint(), before);
        const auto* path = form.findChild<QLabel*>(QStringLiteral("PathLabel"));
        QVERIFY(path->text().startsWith(QStringLiteral("/pub/")));
        QVERIFY(path->text().size() < longPath.size());
        QCOMPARE(path->toolTip(), longPath);
    }

    void serverInfoIsShownReadOnly() {
        TServerInfoForm form(QString(), 0);
        form.SetHostName(QStringLiteral("ftp.example.org"));
        form.SetPort(2121);
        form.SetIPAddress(QStringLiteral("192.0.2.7"));
        form.SetServerType(QStringLiteral("UNIX Type: L8"));
        form.SetResumingSupportText(QStringLiteral("Server Supports Resuming Transfer"));
        auto* host = form.findChild<QLineEdit*>(QStringLiteral("HostNameEdit"));
        QTest::keyClicks(host, QStringLiteral("zz"));
        QCOMPARE(host->text(), QStringLiteral("ftp.example.org"));
        QCOMPARE(form.findChild<QLineEdit*>(QStringLiteral("PortEdit"))->text(),
                 QStringLiteral("2121"));
        QCOMPARE(form.findChild<QLineEdit*>(QStringLiteral("ServerTypeEdit"))->text(),
                 QStringLiteral("UNIX Type: L8"));
        QCOMPARE(LabelText(form, "ResumingSupportLabel"),
                 QStringLiteral("Server Supports Resuming Transfer"));
        QVERIFY(!form.findChild<QLabel*>(QStringLiteral("ServerImage"))->pixmap().isNull());
    }

    void iconsComeFromTheSharedIcons() {
        InstallSharedShellIcons(std::make_unique<TQtShellIcons>());
        TFTPListItem entry = File(1);
        entry.ImageIndex = QtShellIcons()->FolderIconIndex;
        TRemotePropertiesForm form(QString(), 0);
        form.ShowItem(entry);
        const QPixmap shown = form.findChild<QLabel*>(QStringLiteral("IconImage"))->pixmap();
        const QPixmap folder =
            QtShellIcons()->Icon(entry.ImageIndex).pixmap(QSize(32, 32), form.devicePixelRatioF());
        QCOMPARE(shown.toImage(), folder.toImage());
        InstallSharedShellIcons(nullptr);
    }

    void dialogsOpenCentredWithOkFocused() {
        QWidget owner;
        owner.setGeometry(0, 0, 160, 120);
        owner.show();
        TServerInfoForm info(QString(), 0, &owner);
        TRemotePropertiesForm properties(QString(), 0, &owner);
        for (QDialog* form : {static_cast<QDialog*>(&info), static_cast<QDialog*>(&properties)}) {
            form->show();
            QVERIFY(QTest::qWaitForWindowActive(form));
            const QPoint screenCentre = form->screen()->availableGeometry().center();
            QVERIFY((form->geometry().center() - screenCentre).manhattanLength() <= 40);
            QCOMPARE(form->minimumSize(), form->maximumSize());
            QCOMPARE(form->focusWidget(),
                     form->findChild<QPushButton*>(QStringLiteral("OkBitBtn")));
            QTest::keyClick(form, Qt::Key_Return);
            QCOMPARE(form->result(), int(QDialog::Accepted));
        }
    }

    void fontOfTheOptionsIsTaken() {
        TServerInfoForm form(QStringLiteral("Serif"), 15);
        QCOMPARE(form.font().family(), QStringLiteral("Serif"));
        QCOMPARE(form.font().pointSize(), 15);
        QCOMPARE(form.findChild<QLineEdit*>(QStringLiteral("PortEdit"))->font().pointSize(), 15);
        const TServerInfoForm plain(QString(), 0);
        QCOMPARE(plain.font(), QApplication::font());
    }

    void titlePanelLeavesOutEmptyPartsAndRunsBetweenItsColours() {
        TTitlePanel panel;
        panel.SetApplicationText(QStringLiteral("Folder Tree"));
        QCOMPARE(panel.Text(), QStringLiteral("Folder Tree"));
        panel.SetCompanyText(QStringLiteral("Pellucor's"));
        panel.SetCaptionText(QStringLiteral("[/pub]"));
        QCOMPARE(panel.Text(), QStringLiteral("Pellucor's Folder Tree [/pub]"));

        panel.SetCompanyText(QString());
        panel.SetApplicationText(QString());
        panel.SetCaptionText(QString()); // only the gradient is left to draw
        panel.SetColours(QColor(200, 0, 0), QColor(0, 0, 200));
        panel.resize(200, panel.sizeHint().height());
        const QImage image = panel.grab().toImage();
        const int middle = image.height() / 2;
        const QColor left = image.pixelColor(0, middle);
        const QColor right = image.pixelColor(image.width() - 1, middle);
        QVERIFY2(left.red() > 190 && left.blue() < 10, qPrintable(left.name()));
        QVERIFY2(right.blue() > 190 && right.red() < 10, qPrintable(right.name()));
    }
};

QTEST_MAIN(RemoteInfoFormsTest)
#include "RemoteInfoFormsTest.moc"
