#pragma once

#include "core/campaign/CampaignStore.h"
#include "core/campaign/SiteListFile.h"

class QWidget;

namespace tarvelo {

class Dialogs;

// Importing a site list file into the store and exporting the sites in use,
// with the user's say at each step. A file with bad lines is reported line by
// line, and only imported when the user asks for its good lines.
class SiteListTransfer
{
public:
    SiteListTransfer(CampaignStore &store, Dialogs &dialogs, QWidget *owner);

    // The number of sites added; 0 when nothing changed.
    int importList();
    // What to tell the user after a written file; empty on cancel or failure.
    QString exportList();

    // "Line 3: not a valid address", one a line, the first `shown` of them
    // and "and N more".
    static QString problemList(const QList<SiteListProblem> &problems, int shown = 20);

private:
    bool askForGoodLines(const QString &file, const SiteListFile::Import &read);
    void tell(const QString &title, const QString &text, bool problem);

    CampaignStore &m_store;
    Dialogs &m_dialogs;
    QWidget *m_owner;
};

} // namespace tarvelo
