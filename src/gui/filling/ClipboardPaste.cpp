#include "gui/filling/ClipboardPaste.h"

#include "gui/browser/Browser.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

using namespace Qt::StringLiterals;

namespace tarvelo {

namespace {

// Counts the page's paste events, from the first paste into a document on;
// answers the count so far.
const QString countPastes = u"(function () {"
                            "  if (!window.tarveloPastes) {"
                            "    const seen = window.tarveloPastes = {count: 0};"
                            "    window.addEventListener('paste', () => ++seen.count, true);"
                            "  }"
                            "  return window.tarveloPastes.count;"
                            "})()"_s;

std::unique_ptr<QMimeData> copyOf(const QMimeData *data)
{
    auto copy = std::make_unique<QMimeData>();
    if (data) {
        for (const QString &format : data->formats())
            copy->setData(format, data->data(format));
    }
    return copy;
}

} // namespace

ClipboardPaste::ClipboardPaste(Browser &browser, QObject *parent)
    : QObject(parent), m_browser(browser)
{
    m_maxLend.setSingleShot(true);
    m_maxLend.setInterval(MaxLendMs);
    connect(&m_maxLend, &QTimer::timeout, this, &ClipboardPaste::finish);
}

ClipboardPaste::~ClipboardPaste()
{
    giveBack();
}

void ClipboardPaste::paste(const QString &value)
{
    if (m_busy)
        m_next = value;
    else
        start(value);
}

void ClipboardPaste::start(const QString &value)
{
    m_busy = true;
    lend(value);
    m_maxLend.start();
    // The listener must be in place before the page sees the paste.
    const QPointer<ClipboardPaste> self(this);
    const int run = m_run;
    m_browser.runIsolatedScript(countPastes, [self, run](const QVariant &count) {
        if (!self || self->m_run != run)
            return;
        self->m_browser.selectAll();
        self->m_browser.paste();
        self->waitForPage(count.isValid() ? count.toInt() : -1);
    });
}

void ClipboardPaste::lend(const QString &value)
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    m_saved = copyOf(clipboard->mimeData());
    auto *data = new QMimeData;
    data->setText(value);
    m_lent = data;
    clipboard->setMimeData(data); // the clipboard owns it now
}

void ClipboardPaste::waitForPage(int pastesBefore)
{
    if (pastesBefore < 0)
        return; // no page to listen to: the longest lend ends it
    const QPointer<ClipboardPaste> self(this);
    const int run = m_run;
    m_browser.runIsolatedScript(u"window.tarveloPastes ? window.tarveloPastes.count : -1"_s,
                                [self, run, pastesBefore](const QVariant &count) {
                                    if (!self || self->m_run != run)
                                        return;
                                    if (count.toInt() > pastesBefore)
                                        self->finish();
                                    else
                                        QTimer::singleShot(10, self, [self, run, pastesBefore] {
                                            if (self->m_run == run)
                                                self->waitForPage(pastesBefore);
                                        });
                                });
}

void ClipboardPaste::giveBack()
{
    std::unique_ptr<QMimeData> saved = std::move(m_saved);
    // Something else put on the clipboard meanwhile stays there.
    if (!saved || !m_lent)
        return;
    m_lent = nullptr;
    if (saved->formats().isEmpty())
        QGuiApplication::clipboard()->clear();
    else
        QGuiApplication::clipboard()->setMimeData(saved.release());
}

void ClipboardPaste::finish()
{
    ++m_run;
    m_maxLend.stop();
    giveBack();
    m_busy = false;
    if (std::optional<QString> next = std::exchange(m_next, std::nullopt))
        start(*next);
}

} // namespace tarvelo
