#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <memory>
#include <optional>

class QMimeData;

namespace tarvelo {

class Browser;

// A paste into the element that has the focus in the page, through the
// clipboard: select-all, then paste. The clipboard is only lent: once the page
// has taken the value, it holds again what it held before, in all its formats.
//
// The page takes a paste a while after it is asked to, and the answer to a
// script asked for after the paste may come first. So a listener in the
// program's own script world counts the page's paste events: once the count
// has grown, the page has read the clipboard. A paste the listener cannot see
// (into a frame, into something that takes no text) gives the clipboard back
// after MaxLendMs.
class ClipboardPaste : public QObject
{
    Q_OBJECT
public:
    static constexpr int MaxLendMs = 2000;

    explicit ClipboardPaste(Browser &browser, QObject *parent = nullptr);
    ~ClipboardPaste() override;

    // One paste at a time: a value asked for while another is on its way
    // follows it; of several asked for meanwhile, only the last.
    void paste(const QString &value);

private:
    void start(const QString &value);
    void lend(const QString &value);
    void waitForPage(int pastesBefore);
    void giveBack();
    void finish();

    Browser &m_browser;
    QTimer m_maxLend;
    std::unique_ptr<QMimeData> m_saved;
    QPointer<QMimeData> m_lent; // gone when something else took the clipboard
    std::optional<QString> m_next;
    bool m_busy = false;
    int m_run = 0; // answers to scripts of an earlier paste are ignored
};

} // namespace tarvelo
