// Fills every box of the page's forms that it recognises with the current
// program's values, or describes the focused box for the store to learn.
// Runs in the program's own world: the page's scripts never see it. Its
// arguments come as JSON literals only:
//   request   "fill" or "describe"
//   patterns  the field patterns (FieldPatterns::json())
//   values    value name -> text (FormFill::values())
//   taught    box description -> value name, taught on this site
(function (request, patterns, values, taught) {
    "use strict";

    var flags = "iu";
    var fieldRules = patterns.fields.map(function (rule) {
        return {
            field: rule.field,
            yes: new RegExp(rule.yes, flags),
            no: rule.no ? new RegExp(rule.no, flags) : null,
        };
    });
    var captcha = new RegExp(patterns.captcha, flags);
    var statedLimit = new RegExp(patterns.limit, flags);
    var hintText = new RegExp(patterns.hint, flags);
    var textTypes = ["text", "url", "email", "search", "tel", "number", "date"];
    var controls = "input, textarea, select";

    function clean(text) {
        return String(text || "").replace(/\s+/g, " ").trim().slice(0, 200);
    }

    // "progName", "dl_url2", "Author[email]" read as words.
    function identifierWords(identifier) {
        return clean(String(identifier || "")
            .replace(/([a-z0-9])([A-Z])/g, "$1 $2")
            .replace(/([A-Z]+)([A-Z][a-z])/g, "$1 $2")
            .replace(/[_\-.\[\]:]+/g, " "));
    }

    function classify(text) {
        text = clean(text);
        if (!text)
            return "";
        for (var i = 0; i < fieldRules.length; i++) {
            var rule = fieldRules[i];
            if (rule.yes.test(text) && !(rule.no && rule.no.test(text)))
                return rule.field;
        }
        return "";
    }

    // "text" for boxes one types into, "select" for lists; "" for all the
    // rest (hidden, password, file, check boxes, buttons), never touched.
    function kindOf(box) {
        if (box.localName === "textarea")
            return "text";
        if (box.localName === "select")
            return "select";
        return textTypes.indexOf(box.type) >= 0 ? "text" : "";
    }

    function isShown(box) {
        if (box.disabled || box.readOnly || box.getClientRects().length === 0)
            return false;
        var style = box.ownerDocument.defaultView.getComputedStyle(box);
        return style.visibility !== "hidden" && style.display !== "none";
    }

    function ownText(element) {
        // A wrapping label's text without the text of the controls inside it.
        var copy = element.cloneNode(true);
        copy.querySelectorAll(controls + ", script, style").forEach(function (inner) {
            inner.remove();
        });
        return clean(copy.textContent);
    }

    // Controls a person sees: a hidden one stands between no label and its box.
    function seenControls(node) {
        if (node.nodeType !== 1)
            return [];
        var all = node.matches(controls) ? [node] : Array.from(node.querySelectorAll(controls));
        return all.filter(function (control) {
            return control.type !== "hidden" && control.getClientRects().length > 0;
        });
    }

    // The text a person reads just before the box: in the same element, or
    // in the element (a table cell, a row) before the one holding it.
    function textBefore(box) {
        var node = box;
        for (var level = 0; level < 4 && node && node.parentNode; level++) {
            for (var sibling = node.previousSibling; sibling; sibling = sibling.previousSibling) {
                if (seenControls(sibling).length > 0)
                    return "";
                if (sibling.nodeType === 1 && sibling.matches(controls))
                    continue;
                var text = sibling.nodeType === 3 ? clean(sibling.nodeValue)
                    : sibling.nodeType === 1 ? ownText(sibling) : "";
                if (text)
                    return text;
            }
            node = node.parentNode;
            if (node.localName === "form" || node.localName === "body" ||
                seenControls(node).length > 1)
                return "";
        }
        return "";
    }

    function labelOf(box) {
        var doc = box.ownerDocument;
        var texts = [];
        if (box.labels)
            for (var i = 0; i < box.labels.length; i++)
                texts.push(ownText(box.labels[i]));
        texts.push(clean(box.getAttribute("aria-label")));
        texts.push(clean((box.getAttribute("aria-labelledby") || "").split(/\s+/).map(function (id) {
            var by = id && doc.getElementById(id);
            return by ? by.textContent : "";
        }).join(" ")));
        for (var k = 0; k < texts.length; k++)
            if (texts[k])
                return texts[k];
        return textBefore(box);
    }

    // The boxes a description's position counts in: its form's, or those of
    // the document outside any form.
    function scopeOf(box) {
        var list = box.form ? box.form.elements : box.ownerDocument.querySelectorAll(controls);
        return Array.prototype.filter.call(list, function (other) {
            return kindOf(other) && (box.form || !other.form);
        });
    }

    // A description of the box that stays the same on the site's next visit.
    function describe(box) {
        var form = box.form;
        var formKey = "";
        if (form)
            formKey = form.getAttribute("name") || form.id ||
                "form" + Array.prototype.indexOf.call(box.ownerDocument.forms, form);
        var boxKey;
        var label;
        if (box.getAttribute("name"))
            boxKey = "name=" + box.getAttribute("name");
        else if (box.id)
            boxKey = "id=" + box.id;
        else if ((label = labelOf(box)))
            boxKey = "label=" + label.toLowerCase();
        else
            boxKey = "at=" + scopeOf(box).indexOf(box);
        return formKey + "|" + boxKey;
    }

    function hints(box) {
        return [box.getAttribute("placeholder"), box.getAttribute("title"),
            box.getAttribute("aria-label")].map(clean);
    }

    // What counts as nothing typed yet: empty, a bare scheme, or a hint.
    function looksEmpty(box) {
        if (box.localName === "select") {
            var start = 0;
            for (var i = 0; i < box.options.length; i++)
                if (box.options[i].defaultSelected)
                    start = i;
            return box.selectedIndex === start || box.selectedIndex < 0;
        }
        var value = clean(box.value);
        if (!value || /^https?:\/\/$/i.test(value))
            return true;
        if (hints(box).indexOf(value) >= 0)
            return true;
        return value === clean(box.defaultValue) && hintText.test(value);
    }

    function isCaptcha(box, label) {
        return [box.getAttribute("name"), box.id, label].concat(hints(box)).some(function (text) {
            return text && captcha.test(identifierWords(text));
        });
    }

    function recognise(box, label) {
        var found = taught[describe(box)];
        if (found)
            return found;
        var tokens = (box.getAttribute("autocomplete") || "").toLowerCase().split(/\s+/);
        found = patterns.autocomplete[tokens[tokens.length - 1]];
        if (found)
            return found;
        // What a person reads wins over what the page's author named the box.
        found = classify(label);
        if (found)
            return found;
        var names = [box.getAttribute("name"), box.id];
        for (var i = 0; i < names.length; i++) {
            if (!names[i])
                continue;
            if (patterns.padNames.indexOf(names[i]) >= 0)
                return "pad";
            found = classify(identifierWords(names[i]));
            if (found)
                return found;
        }
        return classify(box.getAttribute("placeholder")) || classify(box.getAttribute("title"));
    }

    function descriptionFor(field, box, about) {
        var limit = box.maxLength > 0 ? box.maxLength : 0;
        var stated = statedLimit.exec(about);
        if (!limit && stated)
            limit = Number(stated[2] || stated[3]);
        var lengths = ["desc45", "desc80", "desc250", "desc450", "desc2000"];
        if (limit) {
            var best = "";
            lengths.forEach(function (name) {
                var text = values[name] || "";
                if (text && text.length <= limit && text.length > best.length)
                    best = text;
            });
            return best || (lengths.some(function (name) { return values[name]; }) ? null : "");
        }
        var order = field === "shortDesc" ? ["desc80", "desc45", "desc250"]
            : field === "longDesc" || box.localName === "textarea"
            ? ["desc2000", "desc450", "desc250", "desc80", "desc45"]
            : ["desc250", "desc80", "desc45"];
        for (var i = 0; i < order.length; i++)
            if (values[order[i]])
                return values[order[i]];
        return "";
    }

    function sizeFor(about) {
        var unit = new RegExp(patterns.sizeUnit, flags).exec(about);
        if (!unit)
            return values.fileSize || "";
        var name = unit[1] ? "fileSizeBytes" : unit[2] ? "fileSizeKB" : "fileSizeMB";
        return values[name] || "";
    }

    function dateFor(box, about) {
        var iso = values.releaseDate || "";
        var parts = /^(\d{4})-(\d{2})-(\d{2})$/.exec(iso);
        if (!parts || box.type === "date")
            return iso;
        var shape = /(dd|mm|yyyy)[.\/-](dd|mm)[.\/-](dd|mm|yyyy)/i.exec(about);
        if (!shape)
            return iso;
        var part = {yyyy: parts[1], mm: parts[2], dd: parts[3]};
        var separator = shape[0].charAt(shape[1].length);
        return [shape[1], shape[2], shape[3]].map(function (token) {
            return part[token.toLowerCase()];
        }).join(separator);
    }

    // The text for the box, "" when the program has none, null when the
    // program's text is longer than the box takes.
    function valueFor(field, box, about) {
        var text;
        if (field === "description" || field === "shortDesc" || field === "longDesc")
            text = descriptionFor(field, box, about);
        else if (field === "size")
            text = sizeFor(about);
        else if (field === "releaseDate")
            text = dateFor(box, about);
        else
            text = values[field] || "";
        if (text && box.maxLength > 0 && text.length > box.maxLength)
            return null;
        return text;
    }

    function fires(box, type) {
        var view = box.ownerDocument.defaultView;
        var event = type === "input" && box.localName !== "select"
            ? new view.InputEvent("input", {bubbles: true, inputType: "insertText"})
            : new view.Event(type, {bubbles: true});
        box.dispatchEvent(event);
    }

    function optionFor(select, text) {
        var wanted = [text].concat(text.split(/\s*[,;]\s*/)).map(function (item) {
            return clean(item).toLowerCase();
        });
        for (var i = 0; i < select.options.length; i++) {
            var option = select.options[i];
            if (!option.disabled && wanted.indexOf(clean(option.text).toLowerCase()) >= 0)
                return i;
        }
        return -1;
    }

    function outline(box) {
        var before = box.style.outline;
        box.style.outline = "2px solid #3c8c3c";
        box.ownerDocument.defaultView.setTimeout(function () {
            box.style.outline = before;
        }, 3000);
    }

    function writeInto(box, text) {
        if (box.localName === "select")
            box.selectedIndex = optionFor(box, text);
        else
            box.value = text;
        fires(box, "input");
        fires(box, "change");
        outline(box);
    }

    function documents() {
        var found = [];
        (function walk(doc) {
            found.push(doc);
            doc.querySelectorAll("iframe, frame").forEach(function (frame) {
                try {
                    if (frame.contentDocument)
                        walk(frame.contentDocument);
                } catch (e) {
                }
            });
        })(document);
        return found;
    }

    function focusedBox() {
        var box = document.activeElement;
        try {
            while (box && (box.localName === "iframe" || box.localName === "frame"))
                box = box.contentDocument.activeElement;
        } catch (e) {
            return null;
        }
        return box && box.matches && box.matches(controls) && kindOf(box) ? box : null;
    }

    if (request === "describe") {
        var focused = focusedBox();
        return focused ? describe(focused) : "";
    }

    // Everything is read before anything is written: a write makes the page
    // lay itself out again on the next reading.
    var outcome = {filled: 0, left: 0, tooLong: 0};
    var writes = [];
    documents().forEach(function (doc) {
        doc.querySelectorAll(controls).forEach(function (box) {
            var kind = kindOf(box);
            var asked = kind || box.type === "password" || box.type === "file";
            if (!asked || !isShown(box))
                return;
            if (!kind) {
                // a password or a file: the user's to give
                if (!box.value)
                    outcome.left++;
                return;
            }
            if (!looksEmpty(box))
                return;
            var label = labelOf(box);
            var field = isCaptcha(box, label) ? "" : recognise(box, label);
            var about = [label].concat(hints(box)).join(" ");
            var text = field ? valueFor(field, box, about) : "";
            if (text === null)
                outcome.tooLong++;
            if (text && (box.localName !== "select" || optionFor(box, text) >= 0))
                writes.push({box: box, text: text});
            else
                outcome.left++;
        });
    });
    writes.forEach(function (write) {
        writeInto(write.box, write.text);
    });
    outcome.filled = writes.length;
    return outcome;
})
