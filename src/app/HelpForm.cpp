#include "app/HelpForm.h"

#include <QApplication>
#include <QKeyEvent>
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
    resize(640, 520);
}

void THelpForm::ShowTopic(const QString& page) {
    m_browser->setSource(QUrl(QStringLiteral("qrc:/help/") + page));
    show();
    raise();
    activateWindow();
}

void THelpForm::ShowContext(int helpContext) {
    ShowTopic(PageOfContext(helpContext));
}

QString THelpForm::CurrentPage() const {
    return m_browser->source().fileName();
}

THelpKey::THelpKey(THelpForm& help, QObject* parent) : QObject(parent), m_help(help) {}

bool THelpKey::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_F1) {
        // The innermost widget with a help context, from the one that has the focus.
        for (QWidget* widget = qobject_cast<QWidget*>(watched); widget != nullptr;
             widget = widget->parentWidget()) {
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
