// A 20 MB C++ source in the online editor: from the downloaded file to the page shown with its
// highlighting (the lines on screen styled), the caret moved to the end of the text, and then
// key presses typed there, each with the repaint it causes, also with the page's accessibility
// events on (as while a screen reader listens). Prints the figures and whether they keep to
// 1 s for the opening and 16 ms per key. Runs on the offscreen platform.

#include "editor/gui/EditorPage.h"
#include "editor/gui/OnlineEditorForm.h"
#include "platform/ConfigStore.h"
#include "platform/QtUiThread.h"
#include "settings/GlobalOptions.h"

#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

using namespace qx;

namespace {

constexpr std::size_t kFileSize = 20u * 1024 * 1024;
constexpr int kKeys = 300;

std::string Source() {
    std::string text;
    text.reserve(kFileSize + 256);
    for (int function = 0; text.size() < kFileSize; ++function) {
        const std::string n = std::to_string(function);
        text += "// Function " + n + " adds its numbers and \"quotes\" a string.\n";
        text += "static int function" + n + "(int a, const char* s) {\n";
        text += "    /* a block comment */ int total = a + " + n + ";\n";
        text += "    for (int i = 0; i < 10; ++i) { total += i * 0x1F; }\n";
        text += "    return s != nullptr ? total : -1;\n}\n\n";
    }
    return text;
}

double Percentile(std::vector<double> values, double share) {
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, static_cast<std::size_t>(values.size() * share))];
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QTemporaryDir folder;
    const std::string config = QDir(folder.path()).filePath("settings.conf").toStdString();
    TConfigStore store(config);
    TGlobalOptions options(store);
    QtUiThread ui;
    TOnlineEditorForm form(TOnlineEditorContext{ui, options, store, {}});
    form.resize(900, 700);
    form.show();
    QApplication::processEvents();

    const std::string local = QDir(folder.path()).filePath("big.cpp").toStdString();
    {
        const std::string text = Source();
        std::ofstream(local, std::ios::binary)
            .write(text.data(), static_cast<std::streamsize>(text.size()));
    }
    auto file = std::make_unique<TRemoteEditFile>();
    file->HostName = "127.0.0.1";
    file->HostDirName = "/src/";
    file->FileName = "big.cpp";
    file->LocalFileName = local;

    QElapsedTimer timer;
    timer.start();
    form.OpenRemoteFile(std::move(file));
    TEditorPage* page = form.ActivePage();
    if (page == nullptr) {
        std::fprintf(stderr, "the file did not open\n");
        return 1;
    }
    page->repaint(); // styles and draws the lines on screen
    const double openMs = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    const long styledTo = page->SendScintilla(QsciScintilla::SCI_GETENDSTYLED);

    timer.restart();
    page->SendScintilla(QsciScintilla::SCI_DOCUMENTEND);
    page->repaint();
    const double toEndMs = static_cast<double>(timer.nsecsElapsed()) / 1e6;

    const auto type = [&](int count) {
        std::vector<double> times;
        for (int key = 0; key < count; ++key) {
            const bool newLine = key % 40 == 39;
            const QString text = newLine ? QStringLiteral("\r") : QString(QChar('a' + key % 26));
            QKeyEvent press(QEvent::KeyPress, newLine ? Qt::Key_Return : Qt::Key_A, Qt::NoModifier,
                            text);
            QKeyEvent release(QEvent::KeyRelease, newLine ? Qt::Key_Return : Qt::Key_A,
                              Qt::NoModifier, text);
            timer.restart();
            QApplication::sendEvent(page, &press);
            QApplication::sendEvent(page, &release);
            QApplication::processEvents();
            page->repaint();
            times.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
        }
        return times;
    };
    const std::vector<double> keys = type(kKeys);
    // The same with the page's accessibility events on, as while a screen reader listens; the
    // line index of their offsets is built first (with a screen reader, when the file opens).
    timer.restart();
    page->TextOffsetCount();
    const double indexMs = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    page->SetAccessibleEventSink(
        [](QAccessibleEvent& event) { QAccessible::updateAccessibility(&event); });
    const std::vector<double> accessibleKeys = type(100);
    page->SetAccessibleEventSink(nullptr);
    // The same at the start of the text, for comparison: the control's cost per key grows with
    // the caret's distance from the start of the text.
    page->SendScintilla(QsciScintilla::SCI_DOCUMENTSTART);
    std::vector<double> startKeys;
    for (int key = 0; key < 50; ++key) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
        timer.restart();
        QApplication::sendEvent(page, &press);
        QApplication::processEvents();
        page->repaint();
        startKeys.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    const double median = Percentile(keys, 0.5);
    const double p99 = Percentile(keys, 0.99);
    const double worst = *std::max_element(keys.begin(), keys.end());

    std::printf("file                      %.1f MB, %d lines, %s\n",
                static_cast<double>(kFileSize) / (1024 * 1024), page->lines(),
                page->lexer() != nullptr ? page->lexer()->language() : "no highlighter");
    std::printf("open and first paint      %8.1f ms (styled to byte %ld)\n", openMs, styledTo);
    std::printf("caret to the end, paint   %8.1f ms (the highlighter styles the whole text)\n",
                toEndMs);
    std::printf("key press at the end      median %.2f ms, 99th percentile %.2f ms, worst %.2f ms "
                "(%d keys)\n",
                median, p99, worst, kKeys);
    std::printf("line index of offsets     %8.1f ms\n", indexMs);
    std::printf("  with accessibility      median %.2f ms, 99th percentile %.2f ms, worst %.2f ms "
                "(%zu keys)\n",
                Percentile(accessibleKeys, 0.5), Percentile(accessibleKeys, 0.99),
                *std::max_element(accessibleKeys.begin(), accessibleKeys.end()),
                accessibleKeys.size());
    std::printf("key press at the start    median %.2f ms\n", Percentile(startKeys, 0.5));
    const bool ok = openMs < 1000 && p99 < 16 && Percentile(accessibleKeys, 0.99) < 16;
    std::printf("%s: open under 1 s, key presses under 16 ms\n", ok ? "PASS" : "FAIL");
    form.Prompts().ConfirmUpdate = [](const QString&) { return false; };
    return ok ? 0 : 1;
}
