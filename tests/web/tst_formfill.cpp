// "Fill form" in the real browser: every form page of tests/data/forms filled
// and compared box by box with what the page says it asks for (data-expect),
// the three routes to it, hostile values, and boxes described for teaching.
#include "../unit/LocalHttpServer.h"
#include "WebWindow.h"
#include "core/browser/FormFill.h"
#include "core/browser/FormFillScript.h"
#include "core/campaign/CampaignStore.h"
#include "gui/profiles/ProfilesPanel.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTimer>

using namespace Qt::StringLiterals;
using namespace tarvelo;

namespace {

const QString formsDir = QStringLiteral(TARVELO_TEST_DATA "/forms");

// Every box that says what it expects, in the page and its same-origin
// frames, in document order.
const QString readBoxes = uR"js((function () {
    var boxes = [];
    (function walk(doc) {
        doc.querySelectorAll("[data-expect]").forEach(function (box) {
            boxes.push({expect: box.dataset.expect, text: box.dataset.text || null,
                name: box.name || box.id || box.outerHTML.slice(0, 60),
                value: box.localName === "select"
                    ? (box.selectedIndex < 0 ? "" : box.options[box.selectedIndex].text)
                    : box.value});
        });
        doc.querySelectorAll("iframe").forEach(function (frame) {
            if (frame.contentDocument)
                walk(frame.contentDocument);
        });
    })(document);
    return boxes;
})())js"_s;

} // namespace

class TestFormFill : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void recognition_data();
    void recognition();
    void routes_data();
    void routes();
    void hostileValuesStayText_data();
    void hostileValuesStayText();
    void taughtBoxesComeFirst_data();
    void taughtBoxesComeFirst();
    void pastesTeachTheStore();

private:
    void open(const QString &where);
    QString fill();
    QString status() { return m_w->fx.control<QLabel>(u"lblStatus"_s)->text(); }
    QJsonObject values() const;
    QString body(const QString &key)
    {
        return m_w->run(u"String(document.body.dataset.%1 || 0)"_s.arg(key)).toString();
    }

    std::unique_ptr<WebWindow> m_w;
    int m_pages = 0;
    int m_boxes = 0;
};

void TestFormFill::initTestCase()
{
    m_w = std::make_unique<WebWindow>();
    m_w->window().localPadBox(0)->setText(formsDir + u"/program.xml"_s);
    m_w->fx.session->profiles().showNamedFile(0);
    QCOMPARE(m_w->window().fieldText(Field::ProgName, 0), u"Tarvelo Writer"_s);
}

void TestFormFill::cleanupTestCase()
{
    qInfo("recognition: %d boxes right on %d pages", m_boxes, m_pages);
    m_w.reset();
}

QJsonObject TestFormFill::values() const
{
    const ProfilesPanel &profiles = m_w->fx.session->profiles();
    return FormFill::values([this](Field f) { return m_w->window().fieldText(f, 0); },
                            [&profiles](ExtraValue e) { return profiles.extraValue(0, e); });
}

// A file's path or a site's address.
void TestFormFill::open(const QString &where)
{
    const qsizetype before = m_w->completions.size();
    const QString address =
        where.startsWith(u"http"_s) ? where : QUrl::fromLocalFile(where).toString();
    m_w->browser.navigate(where);
    QTRY_VERIFY_WITH_TIMEOUT(
        m_w->completions.size() > before && m_w->browser.locationUrl() == address, 20000);
}

// Fills through the panel as every route does; the status line it leaves.
QString TestFormFill::fill()
{
    m_w->fx.control<QLabel>(u"lblStatus"_s)->clear();
    m_w->fx.session->filling().fillForm();
    (void)QTest::qWaitFor([&] { return !status().isEmpty(); }, 10000);
    return status();
}

void TestFormFill::recognition_data()
{
    QTest::addColumn<QString>("page");
    const QStringList pages = QDir(formsDir).entryList({u"*.html"_s}, QDir::Files, QDir::Name);
    for (const QString &page : pages) {
        if (page != u"frame-inner.html") // the frame of frame.html
            QTest::newRow(qPrintable(page)) << page;
    }
    QVERIFY(QTest::currentDataTag() || pages.size() >= 21);
}

void TestFormFill::recognition()
{
    QFETCH(QString, page);
    open(formsDir + u'/' + page);
    const QVariantList before = m_w->run(readBoxes).toList();
    QVERIFY(!before.isEmpty());
    const QString said = fill();
    const QVariantList after = m_w->run(readBoxes).toList();
    QCOMPARE(after.size(), before.size());

    const QJsonObject known = values();
    int written = 0;
    QStringList faults;
    for (qsizetype i = 0; i < after.size(); ++i) {
        const QVariantMap box = after[i].toMap();
        const QString expect = box[u"expect"_s].toString();
        const QString value = box[u"value"_s].toString();
        const QString name = box[u"name"_s].toString();
        written += value != before[i].toMap()[u"value"_s].toString();
        const QString want = expect == u"none"         ? before[i].toMap()[u"value"_s].toString()
                             : box[u"text"_s].isNull() ? known[expect].toString()
                                                       : box[u"text"_s].toString();
        QVERIFY2(expect == u"none" || !want.isEmpty(),
                 qPrintable(expect + u" has no value in the test program"_s));
        if (value != want)
            faults << u"%1 (%2): %3"_s.arg(name, expect, value.left(40));
    }
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(u"; "_s)));
    m_boxes += int(after.size());
    ++m_pages;
    // The status counts the boxes written, on the page and in its frames.
    QVERIFY2(said.startsWith(u" Filled %1 box"_s.arg(written)), qPrintable(said));
}

void TestFormFill::routes_data()
{
    QTest::addColumn<QString>("route");
    QTest::newRow("button") << u"cmdFillForm"_s;
    QTest::newRow("keypad enter") << u"enter"_s;
    QTest::newRow("menu entry") << u"mnuNew"_s;
}

void TestFormFill::routes()
{
    QFETCH(QString, route);
    open(QStringLiteral(TARVELO_TEST_DATA "/web/fill-all.html"));
    // The auto-fill after the load fired the events a typed value fires.
    QTRY_COMPARE(m_w->run(u"document.getElementById('pad').value"_s).toString(),
                 u"https://tarvelo.example.org/writer/pad.xml"_s);
    QCOMPARE(body(u"input_pad"_s) + body(u"change_pad"_s), u"11"_s);
    m_w->fx.control<QLabel>(u"lblStatus"_s)->clear();
    QWindow *window = m_w->window().windowHandle();
    QTimer answer; // the menu holds the keypad tick until it closes
    connect(&answer, &QTimer::timeout, this, [&] {
        if (QApplication::activePopupWidget() == m_w->fx.control<QMenu>(route))
            answer.stop(), QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_F);
    });
    // Keys as the platform sends them: to the window, each with a time of its own.
    const auto enter = [&](QEvent::Type type) {
        static quint64 time = 1000;
        QKeyEvent event(type, Qt::Key_Enter, Qt::KeypadModifier, u"\r"_s);
        event.setTimestamp(time += 40);
        QCoreApplication::sendEvent(window, &event);
    };
    const auto act = [&] {
        if (route == u"cmdFillForm") {
            m_w->click(m_w->fx.control(route), QPoint(5, 5));
        } else if (route == u"enter") {
            enter(QEvent::KeyPress);
        } else {
            answer.start(20);
            QTest::mousePress(window, Qt::RightButton, {},
                              m_w->browser.view()->mapTo(&m_w->window(), m_w->lastBox));
        }
    };
    QCOMPARE(m_w->inBox(u"name"_s, act, u"Tarvelo Writer"_s), u"Tarvelo Writer"_s);
    if (route == u"mnuNew")
        QTest::mouseRelease(window, Qt::RightButton);
    if (route == u"enter")
        enter(QEvent::KeyRelease);
    QTRY_COMPARE(status(), u" Filled 3 boxes; 1 left for you"_s);
    QCOMPARE(body(u"submits"_s) + body(u"enters"_s), u"00"_s); // Enter never reached the page
    if (route != u"cmdFillForm")
        return; // what a fill does to the page, seen once
    QCOMPARE(m_w->run(u"document.getElementById('version').value"_s).toString(), u"2.1.0"_s);
    QCOMPARE(m_w->run(u"document.getElementById('desc').value.length"_s).toInt(),
             values()[u"desc2000"_s].toString().size());
    // Each box written saw one input and one change, as if typed; the note
    // box, which nothing names, none.
    QCOMPARE(body(u"input_name"_s) + body(u"change_name"_s) + body(u"input_desc"_s) +
                 body(u"change_desc"_s) + body(u"input_note"_s),
             u"11110"_s);
    // Outlined for a few seconds, then as the page had it.
    QVERIFY(!m_w->run(u"document.getElementById('name').style.outline"_s).toString().isEmpty());
    QTRY_COMPARE_WITH_TIMEOUT(
        m_w->run(u"document.getElementById('name').style.outline"_s).toString(), QString(), 6000);
    // A second fill leaves every box as it is now.
    QCOMPARE(fill(), u" Filled 0 boxes; 1 left for you"_s);
}

void TestFormFill::hostileValuesStayText_data()
{
    QTest::addColumn<QString>("value");
    const QString payload = u"document.title = 'hacked'; window.hacked = 1;"_s;
    QTest::newRow("quotes") << u"\"'); "_s + payload + u" ('\\"_s;
    QTest::newRow("script end tag") << u"</script><script>"_s + payload + u"</script>"_s;
    QTest::newRow("markup") << u"<img src=x onerror=\"window.hacked=1\">"_s;
    QTest::newRow("U+2028 and U+2029") << u"a\u2028\"); "_s + payload + u" //\u2029b"_s;
    QTest::newRow("100 KB") << (u"\"); "_s + payload + u" //"_s).repeated(100 * 1024 / 50);
}

void TestFormFill::hostileValuesStayText()
{
    QFETCH(QString, value);
    open(QStringLiteral(TARVELO_TEST_DATA "/web/fill-all.html"));
    // The long description box takes any length; the page's description box
    // has no limit, so it gets the 2000-character text: made hostile here.
    QJsonObject hostile = values();
    hostile[u"name"_s] = value;
    hostile[u"desc2000"_s] = value;
    const FormFillScript::Outcome outcome =
        FormFillScript::Outcome::from(m_w->run(FormFillScript::fill(hostile)));
    QCOMPARE(outcome.filled, 3);
    QCOMPARE(m_w->run(u"document.getElementById('name').value === document.getElementById("
                      u"'desc').value ? document.getElementById('desc').value : 'differ'"_s)
                 .toString(),
             value);
    QCOMPARE(
        m_w->run(u"document.title + typeof window.hacked + document.images.length"_s).toString(),
        u"Fill allundefined0"_s);
}

void TestFormFill::taughtBoxesComeFirst_data()
{
    // A box described as it is when the user pastes into it, and taught as a
    // field (the price) that nothing around it names.
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("description");
    QTest::newRow("by name") << u"two-forms.html"_s << u"[name=ver]"_s << u"submit|name=ver"_s;
    QTest::newRow("outside a form") << u"two-forms.html"_s << u"[name=kw]"_s << u"|name=kw"_s;
    QTest::newRow("by id") << u"names-only.html"_s << u"#homepage"_s << u"form0|id=homepage"_s;
    QTest::newRow("by label") << u"no-names.html"_s << u"input"_s
                              << u"form0|label=name of the program"_s;
    QTest::newRow("by position") << u"no-names.html"_s << u"br + input"_s << u"form0|at=10"_s;
    QTest::newRow("in a frame") << u"frame.html"_s << u"iframe"_s << u"form0|name=i1"_s;
}

void TestFormFill::taughtBoxesComeFirst()
{
    QFETCH(QString, page);
    QFETCH(QString, box);
    QFETCH(QString, description);
    open(formsDir + u'/' + page);
    const QString find = u"document.querySelector('%1')"_s.arg(box);
    const QString focus = box == u"iframe"
                              ? find + u".contentDocument.getElementById('i1').focus()"_s
                              : find + u".focus()"_s;
    m_w->run(focus);
    QCOMPARE(m_w->run(FormFillScript::describeFocused()).toString(), description);
    const FormFillScript::Outcome outcome = FormFillScript::Outcome::from(
        m_w->run(FormFillScript::fill(values(), {{description, u"price"_s}})));
    QVERIFY(outcome.filled > 0);
    const QString read = box == u"iframe" ? find + u".contentDocument.getElementById('i1').value"_s
                                          : find + u".value"_s;
    QCOMPARE(m_w->run(read).toString(), u"19.95"_s);
}

// A site served over HTTP, since the store keeps what it learns per host.
// Every route to a paste goes through the one that teaches.
void TestFormFill::pastesTeachTheStore()
{
    LocalHttpServer::Load load;
    LocalHttpServer site(
        [](const QByteArray &, const QByteArray &) -> QByteArray {
            const QByteArray page = "<!DOCTYPE html><title>Learn</title><form>"
                                    "Extra A <input id=xa name=xa><br>"
                                    "Extra B <input id=xb name=xb></form>";
            return "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Length: " +
                   QByteArray::number(page.size()) + "\r\n\r\n" + page;
        },
        &load);
    QTemporaryDir dir;
    CampaignStore store;
    QVERIFY(store.open(dir.filePath(u"campaign.sqlite"_s), {}).ok);
    FillingPanel &filling = m_w->fx.session->filling();
    filling.setCampaignStore(&store);
    const auto forget = qScopeGuard([&] { filling.setCampaignStore(nullptr); });

    open(site.url("/submit"));
    QCOMPARE(fill(), u" Filled 0 boxes; 2 left for you"_s); // nothing names the boxes
    const auto paste = [&] { m_w->click(m_w->fx.control(u"cmdProgVer"_s), QPoint(5, 5)); };
    QCOMPARE(m_w->inBox(u"xa"_s, paste, u"2.1.0"_s), u"2.1.0"_s);
    const QHash<QString, QString> taught{{u"form0|name=xa"_s, u"version"_s}};
    QTRY_COMPARE(store.taughtBoxes(u"127.0.0.1"_s), taught);

    open(site.url("/submit")); // the next visit: the taught box comes first
    QCOMPARE(fill(), u" Filled 1 box; 1 left for you"_s);
    QCOMPARE(m_w->run(u"xa.value + '|' + xb.value"_s).toString(), u"2.1.0|"_s);
}

QTEST_MAIN(TestFormFill)
#include "tst_formfill.moc"
