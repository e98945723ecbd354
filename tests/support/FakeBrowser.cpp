#include "FakeBrowser.h"

namespace tarvelo {

FakeBrowser::FakeBrowser(QObject *parent) : Browser(parent), m_view(new QWidget)
{
    m_view->setFocusPolicy(Qt::StrongFocus);
}

FakeBrowser::~FakeBrowser()
{
    // The window re-parents the view and deletes it with itself.
    if (m_view && !m_view->parent())
        delete m_view;
}

bool FakeBrowser::goBack()
{
    calls << QStringLiteral("goBack");
    return false;
}

bool FakeBrowser::goForward()
{
    calls << QStringLiteral("goForward");
    return false;
}

void FakeBrowser::setFocus()
{
    calls << QStringLiteral("setFocus");
    m_view->setFocus();
}

bool FakeBrowser::hasFocus() const
{
    return m_view->hasFocus();
}

void FakeBrowser::runIsolatedScript(const QString &script,
                                    std::function<void(const QVariant &)> done)
{
    scripts << script;
    if (done)
        done(QVariant());
}

} // namespace tarvelo
