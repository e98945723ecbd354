// The Sites tab with a long list: the first show (store read, table built),
// then each keystroke in the search box and each change of the state filter,
// timed until the table has repainted. The tab is made and shown as the
// window does it, on a store in a temporary file.
//
//   bench_sitestab [sites] [rounds]       (default 10000 and 20)
//   bench_sitestab --window [sites]       (default 50) the window on the
//                                         Sites page, left open to look at
//
// Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise.
#include "HeadlessEngine.h"
#include "core/campaign/CampaignStore.h"
#include "gui/sites/SiteTableModel.h"
#include "gui/sites/SitesTab.h"
#include "gui/window/MainWindow.h"
#include "gui/window/QtDialogs.h"
#include "gui/window/TabControl.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTableView>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <ctime>

using namespace Qt::StringLiterals;
using namespace tarvelo;

namespace {

// Sites as a long list looks: many hosts, some names and notes.
QList<SiteEntry> someSites(int count)
{
    QList<SiteEntry> sites;
    for (int i = 0; i < count; ++i) {
        sites.append(
            {u"https://www.dir%1.example.net/submit?cat=%2"_s.arg(i).arg(i % 37),
             i % 3 ? u"Download Directory %1"_s.arg(i) : QString(),
             i % 5 == 0 ? u"wants a screenshot, replies in %1 days"_s.arg(i % 9) : QString()});
    }
    return sites;
}

// A campaign on its way: a spread of states, some with an older version.
void someStates(CampaignStore &store, qint64 program, const QList<SiteRecord> &sites)
{
    const SiteState spread[] = {SiteState::Submitted, SiteState::Listed, SiteState::AwaitingEmail,
                                SiteState::Rejected, SiteState::Skipped};
    const QDateTime start = QDateTime::currentDateTimeUtc().addDays(-30);
    for (int i = 0; i < sites.size(); i += 3) {
        const SiteState state = spread[(i / 3) % 5];
        store.setState(program, sites[i].id, state, i % 4 ? u"2.1"_s : u"2.0"_s, {},
                       start.addSecs(i * 60));
    }
    for (int i = 1; i < sites.size(); i += 41)
        store.setSiteDead(sites[i].id, true);
}

struct Figures
{
    double median, p95, max;
};

Figures figuresOf(std::vector<double> ms)
{
    std::sort(ms.begin(), ms.end());
    const auto at = [&](double q) { return ms[size_t(q * double(ms.size() - 1))]; };
    return {at(0.5), at(0.95), ms.back()};
}

void print(const char *what, const std::vector<double> &ms)
{
    const Figures f = figuresOf(ms);
    std::printf("%-38s median %6.2f ms   95th %6.2f ms   max %6.2f ms   (%zu)\n", what, f.median,
                f.p95, f.max, ms.size());
}

// Counts the table's paints, so a timing never leaves the painting out.
struct PaintCount : QObject
{
    bool eventFilter(QObject *, QEvent *event) override
    {
        count += event->type() == QEvent::Paint;
        return false;
    }
    int count = 0;
};

// The main thread's own CPU time: on a shared machine the wall clock also
// counts the time other processes held the cores.
double threadCpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

// One change, from the control's new value until the table has painted
// itself: wall time, and the CPU time it took into cpu.
template <typename Change> double timed(QTableView *table, std::vector<double> &cpu, Change change)
{
    QElapsedTimer clock;
    clock.start();
    const double cpuStart = threadCpuMs();
    change();
    table->viewport()->repaint();
    cpu.push_back(threadCpuMs() - cpuStart);
    return double(clock.nsecsElapsed()) / 1e6;
}

int showWindow(CampaignStore &store, int count)
{
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const QList<SiteRecord> sites = store.sites();
    for (int i = 0; i < std::min<int>(8, int(sites.size())); ++i)
        store.recordCheck(sites[i].id, {now, i != 5, i == 5 ? u"404 Not Found"_s : u"200 OK"_s});
    QtDialogs dialogs([](QWidget *) { return QString(); });
    MainWindow window(new QWidget);
    auto *tab = new SitesTab(store, dialogs);
    window.setSitesTab(tab);
    tab->setProgram(store.programId({u"https://example.com/pad.xml"_s, u"Tool"_s}), u"2.1"_s);
    window.tabControl()->setCurrentIndex(2);
    window.show();
    std::printf("the window with %d sites; close it to end\n", count);
    return QApplication::exec();
}

} // namespace

int main(int argc, char **argv)
{
    const bool window = argc > 1 && qstrcmp(argv[1], "--window") == 0;
    if (!window)
        useHeadlessEngine();
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int count = window ? args.value(2, u"50"_s).toInt() : args.value(1, u"10000"_s).toInt();
    const int rounds = args.value(2, u"20"_s).toInt();

    QTemporaryDir dir;
    CampaignStore store;
    if (!store.open(dir.filePath(u"campaign.sqlite"_s), {}).ok || !store.addSites(someSites(count)))
        qFatal("cannot fill the store");
    const qint64 program = store.programId({u"https://example.com/pad.xml"_s, u"Tool"_s});
    someStates(store, program, store.sites());
    if (window)
        return showWindow(store, count);

    QtDialogs dialogs([](QWidget *) { return QString(); });
    // As at start-up: the window is built first, then the tab is added to it.
    MainWindow main(new QWidget);
    QElapsedTimer clock;
    clock.start();
    auto *made = new SitesTab(store, dialogs);
    main.setSitesTab(made);
    made->setProgram(program, u"2.1"_s);
    const double madeMs = double(clock.nsecsElapsed()) / 1e6;
    main.show();
    QApplication::processEvents();

    SitesTab &tab = *made;
    PaintCount painted;
    tab.table()->viewport()->installEventFilter(&painted);
    clock.restart();
    main.tabControl()->setCurrentIndex(2);
    tab.table()->viewport()->repaint();
    const double shown = double(clock.nsecsElapsed()) / 1e6;
    if (painted.count == 0)
        qFatal("the table was not painted");
    std::printf("%d sites, %d rounds; Qt %s\n", tab.model()->totalCount(), rounds, qVersion());
    std::printf("%-38s %6.2f ms\n", "tab made, not shown (at start-up)", madeMs);
    std::printf("%-38s %6.2f ms\n", "first show: store read, table drawn", shown);

    auto *search = tab.findChild<QLineEdit *>(u"txtSiteSearch"_s);
    auto *filter = tab.findChild<QComboBox *>(u"cboStateFilter"_s);
    // Typing "directory 12" and taking it back, then a term nothing matches.
    const QString typed = u"directory 12"_s;
    std::vector<double> keys, filters, cpu;
    for (int round = 0; round < rounds; ++round) {
        for (qsizetype n = 1; n <= typed.size(); ++n)
            keys.push_back(timed(tab.table(), cpu, [&] { search->setText(typed.first(n)); }));
        for (qsizetype n = typed.size() - 1; n >= 0; --n)
            keys.push_back(timed(tab.table(), cpu, [&] { search->setText(typed.first(n)); }));
        keys.push_back(timed(tab.table(), cpu, [&] { search->setText(u"zzz"_s); }));
        keys.push_back(timed(tab.table(), cpu, [&] { search->clear(); }));
        for (int i = 0; i < filter->count(); ++i)
            filters.push_back(timed(tab.table(), cpu, [&] { filter->setCurrentIndex(i); }));
        filters.push_back(timed(tab.table(), cpu, [&] { filter->setCurrentIndex(0); }));
    }
    // The same keystrokes apart: the model's filter, then the table's paint.
    std::vector<double> modelOnly, paintOnly;
    for (int round = 0; round < rounds; ++round) {
        for (qsizetype n = 1; n <= typed.size(); ++n) {
            QElapsedTimer c;
            c.start();
            tab.model()->setFilter(std::nullopt, typed.first(n));
            modelOnly.push_back(double(c.nsecsElapsed()) / 1e6);
            c.restart();
            tab.table()->viewport()->repaint();
            paintOnly.push_back(double(c.nsecsElapsed()) / 1e6);
        }
    }
    print("model filter alone", modelOnly);
    print("repaint alone", paintOnly);
    if (painted.count < int(keys.size() + filters.size()))
        qFatal("a change was timed without its paint");
    print("search keystroke to table drawn", keys);
    print("state filter change to table drawn", filters);
    print("either, CPU time of the main thread", cpu);
    return 0;
}
