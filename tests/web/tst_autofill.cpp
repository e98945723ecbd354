#include "browser/AutoFillScript.h"
#include "browser/WebEngineBrowser.h"

#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <QWebEngineScript>

using namespace Qt::StringLiterals;
using tarvelo::AutoFillScript;
using tarvelo::WebEngineBrowser;

namespace {

// Every element marked data-check, as "mark=value" (or "mark=#text" for an
// element without a value), in page order.
const QString readMarked = uR"js(
    Array.prototype.map.call(document.querySelectorAll("[data-check]"), function (e) {
        return e.dataset.check + "=" + (e.value !== undefined ? e.value : "#" + e.textContent);
    })
)js"_s;

QString jsString(const QString &text)
{
    return AutoFillScript::jsonLiteral(text);
}

} // namespace

class TestAutoFill : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void init();

    void fill_data();
    void fill();
    void category_data();
    void category();
    void hostileValueStaysText_data();
    void hostileValueStaysText();

private:
    QVariant evaluate(const QString &script, quint32 world = QWebEngineScript::ApplicationWorld);
    bool showForm(const QString &body);
    QVariant fill(const QString &padUrl);

    std::unique_ptr<QWidget> m_host;
    WebEngineBrowser *m_browser = nullptr;
};

void TestAutoFill::initTestCase()
{
    m_host = std::make_unique<QWidget>();
    m_browser = new WebEngineBrowser(m_host.get());
    auto *layout = new QVBoxLayout(m_host.get());
    layout->addWidget(m_browser->widget());
    m_host->resize(800, 600);
    m_host->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_host.get()));

    QSignalSpy complete(m_browser, &WebEngineBrowser::downloadComplete);
    m_browser->navigate(QStringLiteral(TARVELO_TEST_DATA "/web/blank.html"));
    QTRY_COMPARE_WITH_TIMEOUT(complete.size(), 1, 20000);
}

void TestAutoFill::cleanupTestCase()
{
    m_host.reset();
}

void TestAutoFill::init()
{
    // a clean page for every case: no marks of an earlier one
    QVERIFY(showForm(QString()));
}

QVariant TestAutoFill::evaluate(const QString &script, quint32 world)
{
    QVariant result;
    bool done = false;
    m_browser->page()->runJavaScript(script, world, [&](const QVariant &value) {
        result = value;
        done = true;
    });
    if (!QTest::qWaitFor([&] { return done; }, 10000))
        qWarning("script gave no answer");
    return result;
}

bool TestAutoFill::showForm(const QString &body)
{
    const QString script = u"document.title = 'Submission form'; window.hacked = undefined; "
                           "document.body.innerHTML = "_s +
                           jsString(body) + u"; document.body.innerHTML.length"_s;
    return evaluate(script, QWebEngineScript::MainWorld).isValid();
}

QVariant TestAutoFill::fill(const QString &padUrl)
{
    QVariant written;
    bool done = false;
    m_browser->runIsolatedScript(AutoFillScript::build(padUrl), [&](const QVariant &value) {
        written = value;
        done = true;
    });
    if (!QTest::qWaitFor([&] { return done; }, 10000))
        qWarning("the fill gave no answer");
    return written;
}

void TestAutoFill::fill_data()
{
    QTest::addColumn<QString>("body");
    QTest::addColumn<QString>("padUrl");
    QTest::addColumn<int>("written");
    QTest::addColumn<QStringList>("marked"); // %1 stands for the PAD URL

    const QString url = u"https://example.org/pad/app.xml"_s;

    QTest::newRow("every target") << uR"(<input name="pad" data-check="1">
               <input id="URL" data-check="2">
               <form name="formpad"><input name="padurl" data-check="3 and 4"></form>
               <input name="XMLURL" data-check="5">
               <textarea name="urlpad" data-check="6"></textarea>
               <input name="padfile" type="url" data-check="7">
               <input name="pad_url" data-check="8">
               <input id="xml_url" data-check="9">
               <input name="LOAD_PAD_URL" type="hidden" data-check="10">
               <input name="Software Title" data-check="11">
               <input id="pad-url" data-check="12">
               <input name="title" value="My program" data-check="other">)"_s
                                  << url << 12
                                  << QStringList{u"1=%1"_s,  u"2=%1"_s,  u"3 and 4=%1"_s,
                                                 u"5=%1"_s,  u"6=%1"_s,  u"7=%1"_s,
                                                 u"8=%1"_s,  u"9=%1"_s,  u"10=%1"_s,
                                                 u"11=%1"_s, u"12=%1"_s, u"other=My program"_s};
    QTest::newRow("padurl and pad_url")
        << uR"(<input name="padurl" value="old" data-check="a"><input name="pad_url" data-check="b">)"_s
        << url << 2 << QStringList{u"a=%1"_s, u"b=%1"_s};
    QTest::newRow("formpad/padurl written twice")
        << uR"(<form id="formpad"><input id="padurl" value="typed" data-check="a"></form>)"_s << url
        << 2 << QStringList{u"a=%1"_s};
    QTest::newRow("formpad not a form")
        << uR"(<div id="formpad"><input name="padurl" data-check="a"></div>)"_s << url << 1
        << QStringList{u"a=%1"_s};
    QTest::newRow("none of the names")
        << uR"(<input name="name" value="n" data-check="a">
               <input name="Pad" value="case" data-check="b">
               <input name="PADURL" value="case" data-check="c">
               <input name="pad url" value="blank" data-check="d">
               <input name="padurl2" value="longer" data-check="e">
               <input class="pad" value="class" data-check="f">)"_s
        << url << 0 << QStringList{u"a=n"_s,     u"b=case"_s,   u"c=case"_s,
                                   u"d=blank"_s, u"e=longer"_s, u"f=class"_s};
    QTest::newRow("empty PAD URL empties the inputs")
        << uR"(<input name="pad" value="old" data-check="a"><textarea id="padfile" data-check="b">old</textarea>)"_s
        << QString() << 2 << QStringList{u"a="_s, u"b="_s};
    QTest::newRow("a name of two elements is skipped")
        << uR"(<input name="pad" value="one" data-check="a"><input name="pad" value="two" data-check="b">
               <input id="URL" value="three" data-check="c"><input name="URL" value="four" data-check="d">
               <input name="pad_url" data-check="e">)"_s
        << url << 1 << QStringList{u"a=one"_s, u"b=two"_s, u"c=three"_s, u"d=four"_s, u"e=%1"_s};
    QTest::newRow("an element without a value is skipped")
        << uR"(<div id="URL" data-check="a">text</div><span id="padurl" data-check="b">more</span>)"_s
        << url << 0 << QStringList{u"a=#text"_s, u"b=#more"_s};
    QTest::newRow("a failing step leaves the others")
        << uR"(<input type="file" name="pad" data-check="a"><input name="pad_url" data-check="b">)"_s
        << url << 1 << QStringList{u"a="_s, u"b=%1"_s};
}

void TestAutoFill::fill()
{
    QFETCH(QString, body);
    QFETCH(QString, padUrl);
    QFETCH(int, written);
    QFETCH(QStringList, marked);

    QVERIFY(showForm(body));
    QCOMPARE(fill(padUrl).toInt(), written);

    QStringList expected;
    for (const QString &mark : std::as_const(marked))
        expected << QString(mark).replace(u"%1"_s, padUrl);
    QCOMPARE(evaluate(readMarked).toStringList(), expected);
}

void TestAutoFill::category_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("preselected");
    QTest::addColumn<int>("selected");

    const QString theme = u"Desktop::Themes & Wallpaper"_s;
    const QStringList others{u"Games"_s, u"Desktop"_s, u"Utilities"_s, u"Desktop::Other"_s,
                             u"Business"_s};

    QTest::newRow("match at 5") << (others + QStringList{theme}) << 1 << 5;
    QTest::newRow("two matches: the first")
        << (others + QStringList{theme, u"Games"_s, theme}) << 0 << 5;
    QTest::newRow("match at 0") << QStringList{theme, u"Games"_s} << 1 << 0;
    QTest::newRow("case only is no match")
        << (others +
            QStringList{u"desktop::themes & wallpaper"_s, u"DESKTOP::THEMES & WALLPAPER"_s})
        << 2 << 2;
    QTest::newRow("case only before the match")
        << QStringList{u"Desktop::themes & Wallpaper"_s, theme} << 0 << 1;
    QTest::newRow("no match keeps the selection") << others << 3 << 3;
    QTest::newRow("no options") << QStringList() << -1 << -1;
}

void TestAutoFill::category()
{
    QFETCH(QStringList, options);
    QFETCH(int, preselected);
    QFETCH(int, selected);

    QString list = u"<select name=\"padcat\">"_s;
    for (const QString &option : std::as_const(options))
        list += u"<option>"_s + option.toHtmlEscaped() + u"</option>"_s;
    list += u"</select>"_s;
    QVERIFY(showForm(list));
    evaluate(u"document.all.namedItem('padcat').selectedIndex = %1"_s.arg(preselected));

    QCOMPARE(fill(u"https://example.org/pad.xml"_s).toInt(), 0);
    QCOMPARE(evaluate(u"document.all.namedItem('padcat').selectedIndex"_s).toInt(), selected);
}

void TestAutoFill::hostileValueStaysText_data()
{
    QTest::addColumn<QString>("padUrl");

    const QString payload = u"document.title = 'hacked'; window.hacked = 1;"_s;
    QTest::newRow("double quotes") << u"\"); "_s + payload + u" (\""_s;
    QTest::newRow("single quotes") << u"'); "_s + payload + u" ('"_s;
    QTest::newRow("escaped quote") << u"\\\"); "_s + payload + u" //"_s;
    QTest::newRow("ends in backslash") << u"C:\\pad\\"_s;
    QTest::newRow("newline") << u"line\n\"); "_s + payload + u" //"_s;
    QTest::newRow("script end tag") << u"</script><script>"_s + payload + u"</script>"_s;
    QTest::newRow("U+2028") << u"\u2028\"); "_s + payload + u" //\u2029"_s;
    QTest::newRow("template") << u"`${"_s + payload + u"}`"_s;
    QTest::newRow("100 KB") << (u"\"); "_s + payload + u" //"_s).repeated(100 * 1024 / 50);
}

void TestAutoFill::hostileValueStaysText()
{
    QFETCH(QString, padUrl);
    QVERIFY(showForm(uR"(<input name="pad"><textarea name="padfile"></textarea>)"_s));

    QCOMPARE(fill(padUrl).toInt(), 2);

    // A text area keeps the value as it is; a one-line input drops line ends.
    QCOMPARE(evaluate(u"document.all.namedItem('padfile').value"_s).toString(), padUrl);
    QString oneLine = padUrl;
    oneLine.remove(u'\n').remove(u'\r');
    QCOMPARE(evaluate(u"document.all.namedItem('pad').value"_s).toString(), oneLine);

    QCOMPARE(evaluate(u"document.title"_s).toString(), u"Submission form"_s);
    QCOMPARE(evaluate(u"typeof window.hacked"_s, QWebEngineScript::MainWorld).toString(),
             u"undefined"_s);
    QCOMPARE(evaluate(u"typeof window.hacked"_s).toString(), u"undefined"_s);
}

QTEST_MAIN(TestAutoFill)
#include "tst_autofill.moc"
