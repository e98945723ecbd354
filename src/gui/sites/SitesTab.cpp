#include "gui/sites/SitesTab.h"

#include "core/campaign/SiteAddress.h"
#include "gui/sites/CampaignBar.h"
#include "gui/sites/SiteCheckRun.h"
#include "gui/sites/SiteListTransfer.h"
#include "gui/sites/SiteTableModel.h"
#include "gui/window/Dialogs.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QUrl>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace tarvelo {

namespace {

// Address, name, state, version sent, date, last check; the note takes the rest.
constexpr int ColumnWidths[] = {230, 130, 115, 80, 80, 140};

QString quoted(const QString &text)
{
    return u"\u201c"_s + text + u"\u201d"_s;
}

// The first few addresses, one a line, and how many more there are.
QString addressList(const QList<SiteRecord> &sites, int shown = 20)
{
    QStringList lines;
    for (const SiteRecord &site : sites.first(std::min<qsizetype>(shown, sites.size())))
        lines << site.address;
    if (sites.size() > shown)
        lines << u"and %1 more"_s.arg(sites.size() - shown);
    return lines.join(u'\n');
}

} // namespace

SitesTab::SitesTab(CampaignStore &store, Dialogs &dialogs, QWidget *parent)
    : QWidget(parent), m_store(store), m_dialogs(dialogs), m_model(new SiteTableModel(store, this)),
      m_checkRun(new SiteCheckRun(store, this))
{
    setObjectName(u"sitesTab"_s);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    buildFilterRow();
    m_bar = new CampaignBar(this);
    layout->addWidget(m_bar);

    m_table = new QTableView(this);
    m_table->setObjectName(u"grdSites"_s);
    m_table->setAccessibleName(u"Sites"_s);
    m_table->setModel(m_model);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setAlternatingRowColors(true);
    m_table->setWordWrap(false);
    m_table->verticalHeader()->hide();
    // One height for every row: the view never measures ten thousand of them.
    m_table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 6);
    m_table->horizontalHeader()->setStretchLastSection(true);
    for (int column = 0; column < int(std::size(ColumnWidths)); ++column)
        m_table->setColumnWidth(column, ColumnWidths[column]);
    layout->addWidget(m_table, 1);
    connect(m_table->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &SitesTab::updateButtons);
    connect(m_table, &QTableView::doubleClicked, this, &SitesTab::editSite);

    buildButtonRow();
    m_info = new QLabel(this);
    m_info->setObjectName(u"lblSitesInfo"_s);
    m_info->setTextFormat(Qt::PlainText);
    layout->addWidget(m_info);

    connect(m_checkRun, &SiteCheckRun::progress, this, [this](int done, int total) {
        m_progress->setMaximum(total);
        m_progress->setValue(done);
    });
    connect(m_checkRun, &SiteCheckRun::checked, m_model, &SiteTableModel::setLastCheck);
    connect(m_checkRun, &SiteCheckRun::finished, this, &SitesTab::onCheckFinished);
    updateButtons();
}

SitesTab::~SitesTab() = default;

void SitesTab::buildFilterRow()
{
    auto *row = new QHBoxLayout;
    auto *stateLabel = new QLabel(u"&State:"_s, this);
    m_stateFilter = new QComboBox(this);
    m_stateFilter->setObjectName(u"cboStateFilter"_s);
    m_stateFilter->addItem(u"All states"_s);
    for (int state = 0; state < SiteStateCount; ++state)
        m_stateFilter->addItem(tarvelo::stateLabel(SiteState(state)), state);
    stateLabel->setBuddy(m_stateFilter);

    auto *searchLabel = new QLabel(u"Searc&h:"_s, this);
    m_search = new QLineEdit(this);
    m_search->setObjectName(u"txtSiteSearch"_s);
    m_search->setPlaceholderText(u"Address, name or note"_s);
    m_search->setClearButtonEnabled(true);
    searchLabel->setBuddy(m_search);

    m_shownCount = new QLabel(this);
    m_shownCount->setObjectName(u"lblSiteCount"_s);
    row->addWidget(stateLabel);
    row->addWidget(m_stateFilter);
    row->addSpacing(12);
    row->addWidget(searchLabel);
    row->addWidget(m_search, 1);
    row->addSpacing(12);
    row->addWidget(m_shownCount);
    static_cast<QVBoxLayout *>(layout())->addLayout(row);

    connect(m_stateFilter, &QComboBox::currentIndexChanged, this, &SitesTab::applyFilter);
    connect(m_search, &QLineEdit::textChanged, this, &SitesTab::applyFilter);
}

QPushButton *SitesTab::addButton(const QString &name, const QString &text, const QString &toolTip,
                                 void (SitesTab::*action)())
{
    auto *button = new QPushButton(text, this);
    button->setObjectName(name);
    button->setToolTip(toolTip);
    connect(button, &QPushButton::clicked, this, action);
    return button;
}

void SitesTab::buildButtonRow()
{
    auto *row = new QHBoxLayout;
    row->addWidget(addButton(u"cmdAddSite"_s, u"&Add\u2026"_s, u"Adds a site to the list"_s,
                             &SitesTab::addSite));
    m_edit = addButton(u"cmdEditSite"_s, u"&Edit\u2026"_s,
                       u"Changes the selected site's address, name or note"_s, &SitesTab::editSite);
    m_retire = addButton(u"cmdRetireSite"_s, u"&Retire"_s,
                         u"Takes the selected site out of the lists; its history is kept"_s,
                         &SitesTab::retireSite);
    m_markDead = addButton(u"cmdMarkDead"_s, u"Mark &dead"_s,
                           u"The selected site no longer takes submissions"_s, &SitesTab::markDead);
    m_markAlive = addButton(u"cmdMarkAlive"_s, u"Mark a&live"_s,
                            u"The selected site takes submissions again"_s, &SitesTab::markAlive);
    m_taught = addButton(u"cmdTaughtBoxes"_s, u"&Taught boxes\u2026"_s,
                         u"Shows the form boxes taught on the selected site's host"_s,
                         &SitesTab::showTaughtBoxes);
    for (QPushButton *b : {m_edit, m_retire, m_markDead, m_markAlive, m_taught})
        row->addWidget(b);
    row->addSpacing(12);
    row->addWidget(addButton(u"cmdImportSites"_s, u"&Import\u2026"_s,
                             u"Adds the sites of a text or CSV file"_s, &SitesTab::importSites));
    row->addWidget(addButton(u"cmdExportSites"_s, u"E&xport\u2026"_s,
                             u"Writes the sites in use to a text or CSV file"_s,
                             &SitesTab::exportSites));
    row->addStretch(1);
    m_check =
        addButton(u"cmdCheckSites"_s, u"&Check sites"_s,
                  u"Asks every site in use whether it still answers"_s, &SitesTab::checkSites);
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(u"prgSiteCheck"_s);
    m_progress->setAccessibleName(u"Site check progress"_s);
    m_progress->setFormat(u"%v of %m"_s);
    m_progress->hide();
    m_cancelCheck = addButton(u"cmdCancelCheck"_s, u"Cancel"_s, u"Stops the site check"_s,
                              &SitesTab::cancelCheck);
    m_cancelCheck->hide();
    row->addWidget(m_check);
    row->addWidget(m_progress);
    row->addWidget(m_cancelCheck);
    static_cast<QVBoxLayout *>(layout())->addLayout(row);
}

void SitesTab::setProgram(qint64 programId, const QString &version)
{
    m_programId = programId;
    m_version = version;
    refresh();
}

void SitesTab::refresh()
{
    m_stale = true;
    if (isVisible())
        load();
}

void SitesTab::showEvent(QShowEvent *event)
{
    load();
    QWidget::showEvent(event);
}

void SitesTab::load()
{
    if (!m_stale)
        return;
    const auto selected = selectedSite();
    m_model->reload(m_programId, m_version);
    m_stale = false;
    m_bar->setCounts(m_model->counts());
    applyFilter();
    if (selected)
        selectSite(selected->id);
}

void SitesTab::applyFilter()
{
    const auto selected = selectedSite();
    const QVariant state = m_stateFilter->currentData();
    m_model->setFilter(state.isValid() ? std::optional(SiteState(state.toInt())) : std::nullopt,
                       m_search->text());
    m_shownCount->setText(u"%1 of %2 sites"_s.arg(m_model->rowCount()).arg(m_model->totalCount()));
    if (selected)
        selectSite(selected->id);
    updateButtons();
}

void SitesTab::updateButtons()
{
    const auto site = selectedSite();
    for (QPushButton *b : {m_edit, m_retire, m_taught})
        b->setEnabled(site.has_value());
    m_markDead->setEnabled(site && !site->dead);
    m_markAlive->setEnabled(site && site->dead);
}

std::optional<SiteRecord> SitesTab::selectedSite() const
{
    const QModelIndex current = m_table->selectionModel()->currentIndex();
    if (!current.isValid() || !m_table->selectionModel()->isRowSelected(current.row()))
        return std::nullopt;
    return m_model->site(current.row());
}

void SitesTab::selectSite(qint64 siteId)
{
    const int row = m_model->rowOf(siteId);
    if (row < 0)
        return;
    // Not selectRow(): it selects nothing while the header is not laid out yet.
    const QModelIndex first = m_model->index(row, 0);
    m_table->selectionModel()->setCurrentIndex(first, QItemSelectionModel::ClearAndSelect |
                                                          QItemSelectionModel::Rows);
    m_table->scrollTo(first);
}

void SitesTab::addSite()
{
    const auto entry = m_dialogs.editSite(this, u"Add site"_s, {});
    if (!entry || !entryAccepted(*entry, 0))
        return;
    const auto id = m_store.addSite(*entry);
    if (!id)
        return failed(u"Add site"_s, m_store.lastError());
    refresh();
    selectSite(*id);
    Q_EMIT sitesChanged();
}

void SitesTab::editSite()
{
    const auto site = selectedSite();
    if (!site)
        return;
    const auto entry =
        m_dialogs.editSite(this, u"Edit site"_s, {site->address, site->name, site->note});
    if (!entry || !entryAccepted(*entry, site->id))
        return;
    if (!m_store.editSite(site->id, *entry))
        return failed(u"Edit site"_s, m_store.lastError());
    refresh();
    Q_EMIT sitesChanged();
}

// Tells the user why an address cannot be taken; the store stays as it was.
bool SitesTab::entryAccepted(const SiteEntry &entry, qint64 siteId)
{
    const QString title = siteId ? u"Edit site"_s : u"Add site"_s;
    if (const QString problem = SiteAddress::problem(entry.address); !problem.isEmpty()) {
        failed(title, u"%1 cannot be a site: %2."_s.arg(quoted(entry.address.trimmed()), problem));
        return false;
    }
    const auto same = m_store.siteIdFor(entry.address);
    if (!same || *same == siteId)
        return true;
    const auto other = m_store.site(*same);
    if (!other || (other->retired && !siteId)) // a retired site of that address comes back
        return true;
    const QString where = other->retired ? u"which was retired; add it to bring it back"_s
                                         : u"which is in the list already"_s;
    failed(title, u"%1 is the same site as %2, %3."_s.arg(quoted(entry.address.trimmed()),
                                                          quoted(other->address), where));
    return false;
}

void SitesTab::retireSite()
{
    const auto site = selectedSite();
    if (!site)
        return;
    const QString question =
        u"Retire %1?\n\nIt leaves the lists; what was sent to it stays on record."_s.arg(
            quoted(site->address));
    if (m_dialogs.messageBox(this, question, u"Retire site"_s, QMessageBox::Question,
                             QMessageBox::Yes | QMessageBox::No,
                             QMessageBox::No) != QMessageBox::Yes)
        return;
    if (!m_store.retireSite(site->id))
        return failed(u"Retire site"_s, m_store.lastError());
    refresh();
    Q_EMIT sitesChanged();
}

void SitesTab::markDead()
{
    if (const auto site = selectedSite())
        setDead({*site}, true);
}

void SitesTab::markAlive()
{
    if (const auto site = selectedSite())
        setDead({*site}, false);
}

void SitesTab::setDead(const QList<SiteRecord> &sites, bool dead)
{
    int changed = 0;
    for (const SiteRecord &site : sites) {
        if (!m_store.setSiteDead(site.id, dead)) {
            failed(dead ? u"Mark dead"_s : u"Mark alive"_s,
                   quoted(site.address) + u": "_s + m_store.lastError());
            break;
        }
        ++changed;
    }
    if (changed == 0)
        return;
    refresh();
    Q_EMIT sitesChanged();
    Q_EMIT statesChanged();
}

void SitesTab::importSites()
{
    if (SiteListTransfer(m_store, m_dialogs, this).importList() == 0)
        return;
    refresh();
    Q_EMIT sitesChanged();
}

void SitesTab::exportSites()
{
    const QString done = SiteListTransfer(m_store, m_dialogs, this).exportList();
    if (!done.isEmpty())
        m_info->setText(done);
}

void SitesTab::showTaughtBoxes()
{
    const auto site = selectedSite();
    if (!site)
        return;
    const QString host = SiteAddress::hostKey(QUrl(site->address));
    const QHash<QString, QString> boxes = m_store.taughtBoxes(host);
    const QString title = u"Taught boxes"_s;
    if (boxes.isEmpty()) {
        m_dialogs.messageBox(this, u"No form boxes have been taught on %1."_s.arg(host), title,
                             QMessageBox::Information, QMessageBox::Ok, QMessageBox::Ok);
        return;
    }
    QStringList lines;
    for (auto it = boxes.cbegin(); it != boxes.cend(); ++it)
        lines << it.key() + u" \u2192 "_s + it.value();
    lines.sort(Qt::CaseInsensitive);
    const QString text = u"Form boxes taught on %1:\n\n%2\n\nClear them? Filling a form on %1 "
                         u"then starts from nothing."_s.arg(host, lines.join(u'\n'));
    if (m_dialogs.messageBox(this, text, title, QMessageBox::Question,
                             QMessageBox::Yes | QMessageBox::No,
                             QMessageBox::No) != QMessageBox::Yes)
        return;
    if (!m_store.clearTaughtBoxes(host))
        failed(title, m_store.lastError());
}

void SitesTab::checkSites()
{
    if (m_checkRun->isRunning())
        return;
    const QList<SiteRecord> sites = m_store.sites();
    if (sites.isEmpty()) {
        m_info->setText(u"There are no sites to check."_s);
        return;
    }
    m_check->setEnabled(false);
    m_progress->setRange(0, int(sites.size()));
    m_progress->setValue(0);
    m_progress->show();
    m_cancelCheck->show();
    m_info->setText(u"Checking %1 sites\u2026"_s.arg(sites.size()));
    m_checkRun->start(sites);
}

void SitesTab::cancelCheck()
{
    m_checkRun->cancel();
}

void SitesTab::onCheckFinished(bool cancelled)
{
    m_progress->hide();
    m_cancelCheck->hide();
    m_check->setEnabled(true);
    m_info->setText(cancelled ? u"Cancelled. "_s + m_checkRun->summary() : m_checkRun->summary());
    offerDead();
}

// Never marks a site dead on its own: the user says yes to the whole list.
void SitesTab::offerDead()
{
    const QList<SiteRecord> offers = m_checkRun->deadOffers();
    if (offers.isEmpty())
        return;
    const QString question = offers.size() == 1 ? u"Mark this site dead?"_s
                                                : u"Mark these %1 sites dead?"_s.arg(offers.size());
    const QString text =
        u"Not answering on two different days since they last did:\n\n%1\n\n%2"_s.arg(
            addressList(offers), question);
    if (m_dialogs.messageBox(this, text, u"Check sites"_s, QMessageBox::Question,
                             QMessageBox::Yes | QMessageBox::No,
                             QMessageBox::No) == QMessageBox::Yes)
        setDead(offers, true);
}

void SitesTab::failed(const QString &title, const QString &what)
{
    m_dialogs.messageBox(this, what, title, QMessageBox::Warning, QMessageBox::Ok, QMessageBox::Ok);
}

} // namespace tarvelo
