#pragma once

#include "core/campaign/CampaignStore.h"

#include <QObject>
#include <QUrl>

#include <optional>

namespace tarvelo {

class Browser;
class CampaignPanel;
class MainWindow;
class SiteListPanel;

// A form sent from a site's page while a program is current: the site becomes
// submitted for the program with its current version, and the status line
// says so with an Undo button (cmdUndo) beside it. A form sent while the store
// is still opening is recorded once it is open.
class SubmissionRecorder : public QObject
{
    Q_OBJECT
public:
    SubmissionRecorder(MainWindow &window, CampaignPanel &campaign, SiteListPanel &list,
                       Browser &browser);

    // The site a page belongs to: the one opened last from the list when its
    // host is the page's, else the first in the list with that host.
    static std::optional<qint64> siteForPage(const QUrl &page, const QList<SiteRecord> &sites,
                                             qint64 lastOpened);

    void onFormSubmitted(const QUrl &page);
    void undo();

private:
    void showNote();
    void onLoadFinished();
    void recordWaiting();
    void hideUndo();

    MainWindow &m_window;
    CampaignPanel &m_campaign;
    SiteListPanel &m_list;
    qint64 m_stateId = 0; // the step Undo takes back
    QString m_note;
    int m_loadsSinceNote = 0;
    QList<QUrl> m_waiting; // sent before the store was open
};

} // namespace tarvelo
