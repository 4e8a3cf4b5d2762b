// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/HelpForm.h"

#include <QApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QTextBrowser>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>

namespace qx {

namespace {
struct ContextPage {
    int context;
    const char* page;
};
constexpr ContextPage kPages[] = {
    {1000, "main.html"},           {1001, "sitebook.html"},       {1002, "carrier.html"},
    {1003, "localexplorer.html"},  {1004, "remoteexplorer.html"}, {1005, "onlineeditor.html"},
    {1006, "siteproperties.html"}, {1007, "globaloptions.html"},
};
} // namespace

QString THelpForm::PageOfContext(int helpContext) {
    for (const ContextPage& entry : kPages) {
        if (entry.context == helpContext) {
            return QString::fromLatin1(entry.page);
        }
    }
    return QStringLiteral("welcome.html");
}

THelpForm::THelpForm(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("HelpForm"));
    setWindowTitle(tr("Quorvin Explorer Help"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* tools = new QToolBar(this);
    m_browser = new QTextBrowser(this);
    m_browser->setSearchPaths({QStringLiteral(":/help")});
    m_browser->setOpenExternalLinks(true);
    tools->addAction(QIcon::fromTheme(QStringLiteral("go-previous")), tr("Back"), m_browser,
                     &QTextBrowser::backward);
    tools->addAction(QIcon::fromTheme(QStringLiteral("go-next")), tr("Forward"), m_browser,
                     &QTextBrowser::forward);
    tools->addAction(QIcon::fromTheme(QStringLiteral("go-home")), tr("Contents"), this,
                     [this] { ShowTopic(QStringLiteral("welcome.html")); });
    layout->addWidget(tools);
    layout->addWidget(m_browser);
    resize(kWidth, kHeight);
    // The title names the page shown.
    connect(m_browser, &QTextBrowser::sourceChanged, this, [this] {
        const QString page = m_browser->documentTitle();
        const QString help = tr("Quorvin Explorer Help");
        // The pages are English: the contents page carries the English name of the window.
        const bool contents = page == help || page == QLatin1String("Quorvin Explorer Help");
        setWindowTitle(page.isEmpty() || contents ? help
                                                  : QStringLiteral("%1 - %2").arg(help, page));
    });
}

void THelpForm::ShowTopic(const QString& page) {
    m_browser->setSource(QUrl(QStringLiteral("qrc:/help/") + page));
    if (!isVisible()) {
        PlaceOnScreen();
    }
    show();
    raise();
    activateWindow();
}

void THelpForm::PlaceOnScreen() {
    const QWidget* active = QApplication::activeWindow();
    const QScreen* screen = active != nullptr ? active->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return;
    }
    const QRect area = screen->availableGeometry();
    // The frame the window manager puts around a window, as it frames the active one (none is
    // known before a window has been shown).
    QMargins frame;
    if (active != nullptr) {
        const QRect outer = active->frameGeometry();
        const QRect inner = active->geometry();
        frame = QMargins(inner.left() - outer.left(), inner.top() - outer.top(),
                         outer.right() - inner.right(), outer.bottom() - inner.bottom());
    }
    const QRect placed(frameGeometry().topLeft(), size().grownBy(frame));
    if (m_placed && area.contains(placed)) {
        return; // where the user left it
    }
    m_placed = true;
    resize(QSize(kWidth, kHeight).boundedTo(area.size().shrunkBy(frame)));
    const QSize outer = size().grownBy(frame);
    // move() places the frame's corner.
    move(area.left() + (area.width() - outer.width()) / 2,
         area.top() + (area.height() - outer.height()) / 2);
}

void THelpForm::ShowContext(int helpContext) {
    ShowTopic(PageOfContext(helpContext));
}

QString THelpForm::CurrentPage() const {
    return m_browser->source().fileName();
}

THelpKey::THelpKey(THelpForm& help, QObject* parent) : QObject(parent), m_help(help) {}

bool THelpKey::eventFilter(QObject* watched, QEvent* event) {
    // The key reaches the window system's window first and then the widget with the focus;
    // only the widget tells whose help it is.
    auto* focused = qobject_cast<QWidget*>(watched);
    if (focused != nullptr && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_F1) {
        // The innermost widget with a help context, from the one that has the focus; a dialog
        // without one of its own shows the help of the window it belongs to.
        for (QWidget* widget = focused; widget != nullptr; widget = widget->parentWidget()) {
            const QVariant context = widget->property("helpContext");
            if (context.isValid()) {
                m_help.ShowContext(context.toInt());
                return true;
            }
        }
        m_help.ShowContext(0);
        return true;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace qx
