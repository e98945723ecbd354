// "Fill form" in the real browser: every page of tests/data/forms filled and
// compared box by box with its data-expect, the routes, hostile values, teaching.
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
#include <QScopeGuard>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;
using namespace tarvelo;

namespace {

const QString formsDir = QStringLiteral(TARVELO_TEST_DATA "/forms");

// Every data-expect box of the page and its frames, in document order.
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
        doc.querySelectorAll("iframe").forEach(f => f.contentDocument && walk(f.contentDocument));
    })(document);
    return boxes;
})())js"_s;

} // namespace

class TestFormFill : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
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
};

void TestFormFill::initTestCase()
{
    m_w = std::make_unique<WebWindow>();
    m_w->window().localPadBox(0)->setText(formsDir + u"/program.xml"_s);
    m_w->fx.session->profiles().showNamedFile(0);
    QCOMPARE(m_w->window().fieldText(Field::ProgName, 0), u"Tarvelo Writer"_s);
}

QJsonObject TestFormFill::values() const
{
    const ProfilesPanel &profiles = m_w->fx.session->profiles();
    return FormFill::values([this](Field f) { return m_w->window().fieldText(f, 0); },
                            [&profiles](ExtraValue e) { return profiles.extraValue(0, e); });
}

void TestFormFill::open(const QString &where)
{
    const qsizetype before = m_w->completions.size();
    const QString address =
        where.startsWith(u"http"_s) ? where : QUrl::fromLocalFile(where).toString();
    m_w->browser.navigate(where);
    QTRY_VERIFY_WITH_TIMEOUT(
        m_w->completions.size() > before && m_w->browser.locationUrl() == address, 20000);
}

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
        const QString was = before[i].toMap()[u"value"_s].toString();
        const QString expect = box[u"expect"_s].toString(), value = box[u"value"_s].toString();
        written += value != was;
        const QString want = expect == u"none"         ? was
                             : box[u"text"_s].isNull() ? known[expect].toString()
                                                       : box[u"text"_s].toString();
        QVERIFY2(expect == u"none" || !want.isEmpty(),
                 qPrintable(expect + u" has no value in the test program"_s));
        if (value != want)
            faults << u"%1 (%2): %3"_s.arg(box[u"name"_s].toString(), expect, value.left(40));
    }
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(u"; "_s)));
    QVERIFY2(said.startsWith(u" Filled %1 box"_s.arg(written)), qPrintable(said));
}

void TestFormFill::routes_data()
{
    QTest::addColumn<QString>("route");
    QTest::newRow("button") << u"cmdFillForm"_s;
    QTest::newRow("keypad enter") << u"enter"_s;
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
    // As the platform sends keys: to the window, each with its own time.
    const auto enter = [&](QEvent::Type type) {
        static quint64 time = 1000;
        QKeyEvent event(type, Qt::Key_Enter, Qt::KeypadModifier, u"\r"_s);
        event.setTimestamp(time += 40);
        QCoreApplication::sendEvent(m_w->window().windowHandle(), &event);
    };
    const auto act = [&] {
        if (route == u"enter")
            enter(QEvent::KeyPress);
        else
            m_w->click(m_w->fx.control(route), QPoint(5, 5));
    };
    QCOMPARE(m_w->inBox(u"name"_s, act, u"Tarvelo Writer"_s), u"Tarvelo Writer"_s);
    if (route == u"enter")
        enter(QEvent::KeyRelease);
    QTRY_COMPARE(status(), u" Filled 3 boxes; 1 left for you"_s);
    QCOMPARE(body(u"submits"_s) + body(u"enters"_s), u"00"_s); // Enter never reached the page
    if (route != u"cmdFillForm")
        return; // what a fill does to the page, seen once
    // One input and one change per box written, as if typed; none on the note.
    QCOMPARE(body(u"input_name"_s) + body(u"change_name"_s) + body(u"input_desc"_s) +
                 body(u"change_desc"_s) + body(u"input_note"_s),
             u"11110"_s);
    QVERIFY(!m_w->run(u"document.getElementById('name').style.outline"_s).toString().isEmpty());
    QTRY_COMPARE_WITH_TIMEOUT(
        m_w->run(u"document.getElementById('name').style.outline"_s).toString(), QString(), 6000);
    QCOMPARE(fill(), u" Filled 0 boxes; 1 left for you"_s);
}

void TestFormFill::hostileValuesStayText_data()
{
    QTest::addColumn<QString>("value");
    const QString payload = u"document.title = 'hacked'; window.hacked = 1;"_s;
    QTest::newRow("quotes") << u"\"'); "_s + payload + u" ('\\"_s;
    QTest::newRow("markup") << u"<img src=x onerror=\"window.hacked=1\">"_s;
    QTest::newRow("U+2028 and U+2029") << u"a\u2028\"); "_s + payload + u" //\u2029b"_s;
    QTest::newRow("100 KB") << (u"\"); "_s + payload + u" //"_s).repeated(100 * 1024 / 50);
}

void TestFormFill::hostileValuesStayText()
{
    QFETCH(QString, value);
    open(QStringLiteral(TARVELO_TEST_DATA "/web/fill-all.html"));
    // The page's unlimited description box gets the 2000-character text.
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
    // Described as at a paste, taught as the price that nothing around it names.
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("description");
    QTest::newRow("by name") << u"two-forms.html"_s << u"[name=ver]"_s << u"submit|name=ver"_s;
    QTest::newRow("by position") << u"no-names.html"_s << u"br + input"_s << u"form0|at=10"_s;
    QTest::newRow("in a frame") << u"frame.html"_s << u"iframe"_s << u"form0|name=i1"_s;
}

void TestFormFill::taughtBoxesComeFirst()
{
    QFETCH(QString, page);
    QFETCH(QString, box);
    QFETCH(QString, description);
    open(formsDir + u'/' + page);
    QString find = u"document.querySelector('%1')"_s.arg(box);
    if (box == u"iframe")
        find += u".contentDocument.getElementById('i1')"_s;
    m_w->run(find + u".focus()"_s);
    QCOMPARE(m_w->run(FormFillScript::describeFocused()).toString(), description);
    m_w->run(FormFillScript::fill(values(), {{description, u"price"_s}}));
    QCOMPARE(m_w->run(find + u".value"_s).toString(), u"19.95"_s);
}

// Over HTTP, since the store keeps what it learns per host.
void TestFormFill::pastesTeachTheStore()
{
    LocalHttpServer::Load load;
    const QByteArray page = "<form>Extra A <input id=xa name=xa> Extra B <input id=xb name=xb>";
    LocalHttpServer site(
        [&](const QByteArray &, const QByteArray &) -> QByteArray {
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
    QCOMPARE(fill(), u" Filled 0 boxes; 2 left for you"_s);
    const auto paste = [&] { m_w->click(m_w->fx.control(u"cmdProgVer"_s), QPoint(5, 5)); };
    QCOMPARE(m_w->inBox(u"xa"_s, paste, u"2.1.0"_s), u"2.1.0"_s);
    const QHash<QString, QString> taught{{u"form0|name=xa"_s, u"version"_s}};
    QTRY_COMPARE(store.taughtBoxes(u"127.0.0.1"_s), taught);

    open(site.url("/submit"));
    QCOMPARE(fill(), u" Filled 1 box; 1 left for you"_s);
    QCOMPARE(m_w->run(u"xa.value + '|' + xb.value"_s).toString(), u"2.1.0|"_s);
}

QTEST_MAIN(TestFormFill)
#include "tst_formfill.moc"
