#include "gui/sites/SubmissionRecorder.h"

#include "core/campaign/SiteAddress.h"
#include "gui/browser/Browser.h"
#include "gui/sites/CampaignPanel.h"
#include "gui/sites/SiteListPanel.h"
#include "gui/window/MainWindow.h"

#include <QLabel>
#include <QToolButton>

#include <utility>

using namespace Qt::StringLiterals;

namespace tarvelo {

SubmissionRecorder::SubmissionRecorder(MainWindow &window, CampaignPanel &campaign,
                                       SiteListPanel &list, Browser &browser)
    : QObject(&window), m_window(window), m_campaign(campaign), m_list(list)
{
    connect(&browser, &Browser::formSubmitted, this, &SubmissionRecorder::onFormSubmitted);
    connect(&browser, &Browser::downloadComplete, this, &SubmissionRecorder::onLoadFinished);
    connect(m_window.undoButton(), &QToolButton::clicked, this, &SubmissionRecorder::undo);
    connect(&m_campaign, &CampaignPanel::storeOpened, this, &SubmissionRecorder::recordWaiting);
}

std::optional<qint64>
SubmissionRecorder::siteForPage(const QUrl &page, const QList<SiteRecord> &sites, qint64 lastOpened)
{
    const QString host = SiteAddress::hostKey(page);
    if (host.isEmpty())
        return std::nullopt;
    std::optional<qint64> first;
    for (const SiteRecord &site : sites) {
        if (SiteAddress::hostKey(QUrl(site.address)) != host)
            continue;
        if (site.id == lastOpened)
            return site.id;
        if (!first)
            first = site.id;
    }
    return first;
}

void SubmissionRecorder::onFormSubmitted(const QUrl &page)
{
    if (m_campaign.storeOpening()) {
        m_waiting.append(page);
        m_window.statusLabel()->setText(
            tr(" The campaign store is still opening; the form sent is noted once it is open."));
        return;
    }
    const std::optional<ProgramKey> program = m_campaign.currentProgram();
    if (!program)
        return;
    const std::optional<qint64> siteId =
        siteForPage(page, m_campaign.sites(), m_list.lastOpenedSiteId());
    if (!siteId)
        return;
    const qint64 step = m_campaign.setState(*siteId, SiteState::Submitted);
    if (step == 0)
        return;
    m_stateId = step;
    const QString name = program->name.isEmpty() ? program->padUrl : program->name;
    const QString version = m_campaign.currentVersion();
    m_note = tr("Submitted %1 to %2")
                 .arg(version.isEmpty() ? name : name + u' ' + version,
                      m_campaign.site(*siteId)->address);
    m_loadsSinceNote = 0;
    showNote();
}

void SubmissionRecorder::recordWaiting()
{
    const QList<QUrl> pages = std::exchange(m_waiting, {});
    for (const QUrl &page : pages)
        onFormSubmitted(page);
}

void SubmissionRecorder::showNote()
{
    m_window.statusLabel()->setText(u" "_s + m_note);
    QToolButton *undo = m_window.undoButton();
    undo->setToolTip(tr("Undo: %1").arg(m_note));
    undo->setAccessibleDescription(m_note);
    undo->show();
}

void SubmissionRecorder::onLoadFinished()
{
    if (m_stateId == 0)
        return;
    // The submission's own answer page is the first load after it: the note
    // stays over its "Done". The load after that is the user moving on.
    if (++m_loadsSinceNote == 1)
        showNote();
    else
        hideUndo();
}

void SubmissionRecorder::undo()
{
    if (m_stateId == 0)
        return;
    const bool undone = m_campaign.undoState(m_stateId);
    hideUndo();
    m_window.statusLabel()->setText(undone ? tr(" Undone: %1").arg(m_note)
                                           : tr(" The submission could not be undone."));
}

void SubmissionRecorder::hideUndo()
{
    m_stateId = 0;
    m_window.undoButton()->hide();
}

} // namespace tarvelo
