#include "core/browser/AutoFillScript.h"

#include <QJsonArray>
#include <QJsonDocument>

using namespace Qt::StringLiterals;

namespace tarvelo {

namespace {

QString compactJson(const QJsonArray &array)
{
    return QString::fromUtf8(QJsonDocument(array).toJson(QJsonDocument::Compact));
}

QString targetsJson()
{
    QJsonArray rows;
    for (const AutoFillScript::Target &target : AutoFillScript::targets())
        rows.append(QJsonArray{target.form, target.element});
    return compactJson(rows);
}

// Names resolve through document.all, the page's element collection: an id
// or a form control's name. Several elements of one name come back as a
// collection, and those are skipped like elements no one types into.
const char16_t *const scriptBody = uR"js(;
    function single(found) {
        return found && found.nodeType === 1 ? found : null;
    }
    function named(name) {
        return single(document.all.namedItem(name));
    }
    // Only the boxes a person types into: a hidden return address, a check
    // box or a list keeps what the page put there.
    function typable(element) {
        if (element.localName === "textarea")
            return true;
        return element.localName === "input" &&
            ["text", "url", "search", "email", "tel"].indexOf(element.type) >= 0;
    }
    function input(form, name) {
        if (!form)
            return named(name);
        var owner = named(form);
        return owner && owner.elements ? single(owner.elements.namedItem(name)) : null;
    }
    // The page's own scripts learn of the value as of one typed.
    function typedInto(element) {
        element.dispatchEvent(new InputEvent("input", {bubbles: true, inputType: "insertText"}));
        element.dispatchEvent(new Event("change", {bubbles: true}));
    }
    var written = 0;
    targets.forEach(function (target) {
        try {
            var element = input(target[0], target[1]);
            if (element && typable(element)) {
                element.value = padUrl;
                typedInto(element);
                written++;
            }
        } catch (e) {
        }
    });
    try {
        var list = named(categoryList);
        if (categoryOption && list && list.options) {
            for (var i = 0; i < list.options.length; i++) {
                if (list.options[i].text === categoryOption) {
                    list.selectedIndex = i;
                    list.dispatchEvent(new Event("input", {bubbles: true}));
                    list.dispatchEvent(new Event("change", {bubbles: true}));
                    break;
                }
            }
        }
    } catch (e) {
    }
    return written;
})(
)js";

QString buildCode()
{
    return u"(function (padUrl, categoryOption) {\n    \"use strict\";\n    var targets = "_s +
           targetsJson() + u";\n    var categoryList = "_s +
           AutoFillScript::jsonLiteral(AutoFillScript::categoryList()) +
           QString::fromUtf16(scriptBody);
}

} // namespace

const QList<AutoFillScript::Target> &AutoFillScript::targets()
{
    static const QList<Target> table{
        {{}, u"pad"_s},
        {{}, u"URL"_s},
        {{}, u"padurl"_s},
        {u"formpad"_s, u"padurl"_s},
        {{}, u"XMLURL"_s},
        {{}, u"urlpad"_s},
        {{}, u"padfile"_s},
        {{}, u"pad_url"_s},
        {{}, u"xml_url"_s},
        {{}, u"LOAD_PAD_URL"_s},
        {{}, u"Software Title"_s},
        {{}, u"pad-url"_s},
    };
    return table;
}

QString AutoFillScript::categoryList()
{
    return u"padcat"_s;
}

const QString &AutoFillScript::code()
{
    static const QString fixed = buildCode();
    return fixed;
}

QString AutoFillScript::build(const QString &padUrl, const QString &category)
{
    return code() + jsonLiteral(padUrl) + u", "_s + jsonLiteral(category) + u");"_s;
}

QString AutoFillScript::jsonLiteral(const QString &value)
{
    return jsonCode(value);
}

QString AutoFillScript::jsonCode(const QJsonValue &value)
{
    // QJsonDocument writes containers only: an array of one, less its brackets.
    QString literal = compactJson(QJsonArray{value});
    literal = literal.mid(1, literal.size() - 2);
    // Inside the literal these characters can only stand in strings, where a
    // \u escape means the same character.
    literal.replace(u'<', u"\\u003c"_s);
    literal.replace(u'>', u"\\u003e"_s);
    literal.replace(u'&', u"\\u0026"_s);
    literal.replace(QChar(0x2028), u"\\u2028"_s);
    literal.replace(QChar(0x2029), u"\\u2029"_s);
    return literal;
}

} // namespace tarvelo
