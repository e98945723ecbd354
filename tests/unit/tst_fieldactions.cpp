#include "filling/FieldActions.h"
#include "filling/KeyState.h"

#include <QSet>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace tarvelo;

class TestFieldActions : public QObject
{
    Q_OBJECT
private slots:
    void buttonCaptionNamesItsKey();
    void everyKeypadKeyHasOneButton();
    void menuEntries_data();
    void menuEntries();
    void menuCoversEveryFieldButTheLocalPath();
};

namespace {

// The key a caption shows in its brackets, as a virtual-key code.
int keyShownIn(const QString &caption)
{
    const QChar key = caption.at(caption.size() - 2);
    if (key == u'*')
        return vk::Multiply;
    if (key == u'/')
        return vk::Divide;
    return vk::Numpad0 + key.digitValue();
}

} // namespace

void TestFieldActions::buttonCaptionNamesItsKey()
{
    for (const FieldButtonSpec &button : fieldButtonTable()) {
        QVERIFY2(button.caption.endsWith(u')'), qPrintable(button.caption));
        QCOMPARE(keyShownIn(button.caption), button.key);
        // The button is named after the field it pastes: cmdX pastes txtX.
        QCOMPARE(button.name.mid(3), fieldSpec(button.field).name.mid(3));
    }
}

void TestFieldActions::everyKeypadKeyHasOneButton()
{
    QSet<int> keys;
    for (const FieldButtonSpec &button : fieldButtonTable())
        keys.insert(button.key);
    QCOMPARE(keys.size(), FieldButtonCount);
    for (int key = vk::Numpad0; key <= vk::Multiply; ++key)
        QVERIFY2(fieldButtonForKey(key) && fieldButtonForKey(key)->key == key,
                 qPrintable(QString::number(key, 16)));
    QVERIFY(fieldButtonForKey(vk::Divide));
    for (int key : {0x6B, 0x6C, 0x6D, 0x6E, vk::Control, vk::RightButton})
        QVERIFY(!fieldButtonForKey(key));
}

void TestFieldActions::menuEntries_data()
{
    // Spot checks where a typo would hide: odd names, mnemonics, the blanks.
    QTest::addColumn<int>("order");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("field"); // -1: separator

    QTest::newRow("first") << 1 << u"mnuAuthor"_s << u"&1   Author"_s << int(Field::Author);
    QTest::newRow("company") << 3 << u"mnuCompany"_s << u"&3   Company"_s << int(Field::Company);
    QTest::newRow("sep1") << 4 << u"mnuSep1"_s << u"-"_s << -1;
    QTest::newRow("os") << 8 << u"mnuOS"_s << u"&7   Operating System"_s << int(Field::OS);
    QTest::newRow("sep2") << 10 << u"mnuSep2"_s << u"-"_s << -1;
    QTest::newRow("url 1") << 12 << u"mnuProgURL1"_s << u"&0   Program URL 1"_s
                           << int(Field::ProgURL);
    QTest::newRow("url 2") << 13 << u"mnuProgURL2"_s << u"&-   Program URL 2"_s
                           << int(Field::SecURL);
    QTest::newRow("icon") << 15 << u"mnuProgIcon"_s << u"&\\   Program Icon URL"_s
                          << int(Field::ProgIcon);
    QTest::newRow("sep3") << 16 << u"mnuSep3"_s << u"-"_s << -1;
    QTest::newRow("long desc") << 18 << u"mnuongDesc"_s << u"&]   Long Description"_s
                               << int(Field::LongDesc);
    QTest::newRow("keywords") << 19 << u"mnuKeywords"_s << u"&;   Keywords"_s
                              << int(Field::Keywords);
    QTest::newRow("sep4") << 20 << u"mnuSep4"_s << u"-"_s << -1;
    QTest::newRow("pad url") << 21 << u"mnuPADURL"_s << u"PAD URL (&XML)"_s << int(Field::PADURL);
}

void TestFieldActions::menuEntries()
{
    QFETCH(int, order);
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(int, field);

    const MenuEntrySpec &entry = popupMenuTable().at(order - 1);
    QCOMPARE(entry.name, name);
    QCOMPARE(entry.caption, caption);
    QCOMPARE(entry.isSeparator(), field == -1);
    if (field != -1)
        QCOMPARE(int(*entry.field), field);
}

void TestFieldActions::menuCoversEveryFieldButTheLocalPath()
{
    QSet<int> fields;
    QSet<QString> names;
    int separators = 0;
    for (const MenuEntrySpec &entry : popupMenuTable()) {
        names.insert(entry.name);
        if (entry.isSeparator()) {
            ++separators;
            continue;
        }
        QVERIFY2(!fields.contains(int(*entry.field)), qPrintable(entry.name));
        fields.insert(int(*entry.field));
        // Every field item has a mnemonic, and for the numbered ones three blanks follow it.
        const qsizetype amp = entry.caption.indexOf(u'&');
        QVERIFY2(amp >= 0, qPrintable(entry.caption));
        if (amp == 0) {
            QCOMPARE(entry.caption.mid(2, 3), u"   "_s);
            QVERIFY2(entry.caption.at(5) != u' ', qPrintable(entry.caption));
        }
    }
    QCOMPARE(separators, 4);
    QCOMPARE(fields.size(), 17);
    QVERIFY(!fields.contains(int(Field::LocalPAD)));
    QCOMPARE(names.size(), MenuEntryCount);
}

QTEST_GUILESS_MAIN(TestFieldActions)
#include "tst_fieldactions.moc"
