#include "core/browser/FieldPatterns.h"

#include "core/browser/AutoFillScript.h"

#include <QJsonArray>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace tarvelo {

namespace {

// Word edges that hold for every script: \b only knows ASCII letters in a
// page script. Expressions are written for both engines (the page's and
// QRegularExpression): no escapes beyond \s \d \. \p{..}.
QString wholeWords(const QString &alternatives)
{
    return u"(?<![\\p{L}\\p{N}])(?:"_s + alternatives + u")(?![\\p{L}\\p{N}])"_s;
}

QString wordStarts(const QString &alternatives)
{
    return u"(?<![\\p{L}\\p{N}])(?:"_s + alternatives + u")"_s;
}

// One alternative per line of the tables below: English, German, French,
// Spanish, Italian, Russian, in that order where a language has its own.
QString anyOf(std::initializer_list<const char16_t *> lines)
{
    QStringList parts;
    for (const char16_t *line : lines)
        parts << QString::fromUtf16(line);
    return parts.join(u'|');
}

FieldPatterns::Rule rule(const char16_t *field, std::initializer_list<const char16_t *> yes,
                         std::initializer_list<const char16_t *> no = {})
{
    return {QString::fromUtf16(field), wholeWords(anyOf(yes)),
            no.size() ? wordStarts(anyOf(no)) : QString()};
}

const char16_t *const descriptionNot = u"meta|change|what|new|screen|image|category|file|icon";

QList<FieldPatterns::Rule> buildRules()
{
    return {
        rule(u"pad",
             {u"pad(\\s*(file|url|link|address|xml|location))*|xml(\\s*(file|url|link))?",
              u"pad-?(datei|url|adresse|link)", u"(fichier|url|lien|adresse)\\s+(du\\s+)?pad",
              u"(archivo|url|enlace)\\s+(del\\s+)?pad", u"(file|url|indirizzo)\\s+(del\\s+)?pad",
              u"pad-?файл\\p{L}*|ссылка\\s+на\\s+pad"},
             {u"version|categor"}),
        rule(u"screenshot",
             {u"screen\\s*shots?(\\s*(url|link|address|image|location))?|s\\s*shot(\\s*url)?",
              u"screen\\s*capture", u"bildschirmfoto|screenshot-?(url|adresse|link)",
              u"capture\\s+d['’][ée]cran", u"captura(\\s+de\\s+pantalla)?",
              u"schermata|immagine(\\s+dello\\s+schermo)?", u"скриншот\\p{L}*|снимок\\s+экрана"},
             {u"width|height|size|caption|title|description|upload"}),
        rule(u"icon",
             {u"icon(\\s*(url|link|address|image|location))?|logo(\\s*(url|link|address|image))?",
              u"symbol(bild)?", u"ic[oô]ne", u"icono", u"icona", u"иконк\\p{L}*|значок|логотип"},
             {u"width|height|size|upload|font"}),
        rule(u"download2",
             {u"(second(ary)?|mirror|alternat(e|ive)|backup)(\\s*(download|file|program))?"
              u"(\\s*(url|link|address|location))?",
              u"download\\s*(url|link|address)?\\s*(2|#2|ii)|(dl|file)\\s*url\\s*2",
              u"zweit(e|er|es)?\\s+download\\p{L}*|(download-?)?spiegel(server)?",
              u"miroir|(lien|url)\\s+secondaire|t[ée]l[ée]chargement\\s+secondaire",
              u"espejo|(enlace|url)\\s+alternativ[oa]|descarga\\s+alternativa",
              u"link\\s+alternativo|download\\s+alternativo",
              u"зеркало|альтернативн\\p{L}*\\s+ссылк\\p{L}*|вторая\\s+ссылка"},
             {u"e-?mail|contact|phone"}),
        rule(u"download",
             {u"download(\\s*(url|link|address|location|page|file))?(\\s*1)?",
              u"primary\\s*download(\\s*(url|link))?|dl(\\s*(url|link))?",
              u"(direct|file|program|setup|installer|zip|exe)\\s*(download\\s*)?(url|link)",
              u"download-?(link|adresse|url)|herunterladen",
              u"(lien|url|adresse)\\s+de\\s+t[ée]l[ée]chargement|t[ée]l[ée]chargement",
              u"(enlace|url|direcci[óo]n)\\s+de\\s+descarga|descarga",
              u"link\\s+(per\\s+(il\\s+)?)?download|indirizzo\\s+(di\\s+)?download|scaricamento",
              u"ссылк\\p{L}*\\s+(для\\s+|на\\s+)?(скачивани\\p{L}*|загрузк\\p{L}*)|скачать|"
              u"загрузк\\p{L}*"},
             {u"second|mirror|alternat|backup|2|ii|count|size|speed|zweit|miroir|secondaire",
              u"espejo|secondari|зеркал|альтернатив|втор|taille|tama|dimension|größe|grösse",
              u"размер|pad|xml|screen|icon"}),
        rule(u"email",
             {u"e-?mails?(\\s*address)?|mail", u"e-?mail-?adresse", u"courriel|adresse\\s+e-?mail",
              u"correo(\\s+electr[óo]nico)?", u"direcci[óo]n\\s+de\\s+(e-?mail|correo)",
              u"indirizzo\\s+e-?mail|posta\\s+elettronica",
              u"электронн\\p{L}*\\s+почт\\p{L}*|эл\\.\\s*почт\\p{L}*|почт\\p{L}*"},
             {u"subject|betreff|objet|asunto|oggetto|тема"}),
        rule(u"company",
             {u"company(\\s*name)?|organi[sz]ation(\\s*name)?|firm|publisher(\\s*name)?|vendor|"
              u"business(\\s*name)?",
              u"firma|firmenname|unternehmen|verlag|herausgeber",
              u"soci[ée]t[ée]|entreprise|[ée]diteur", u"empresa|compa[ñn][íi]a|organizaci[óo]n",
              u"azienda|societ[àa]|ditta|editore", u"компани\\p{L}*|организация|фирма|издатель"},
             {u"e-?mail|url|web|site|address|adresse|phone|tel|fax|logo|size|country|city|street",
              u"type"}),
        rule(u"keywords", {u"key\\s*words?|tags?|search\\s*(terms|words)",
                           u"schl[üu]ssel(w[öo]rter|begriffe)|stichw[öo]rter|suchbegriffe",
                           u"mots?[-\\s]cl[ée]s?", u"palabras?\\s+clave|etiquetas",
                           u"parole\\s+chiave", u"ключевые\\s+слова|теги|метки"}),
        rule(u"shortDesc",
             {u"short\\s*desc(ription)?|s\\s*desc|desc(ription)?\\s*short|summary|"
              u"brief(\\s*description)?|one[-\\s]?line(\\s*description)?|tag\\s*line",
              u"kurzbeschreibung|kurze\\s+beschreibung",
              u"description\\s+courte|courte\\s+description|r[ée]sum[ée]",
              u"descripci[óo]n\\s+(corta|breve)|breve\\s+descripci[óo]n|resumen",
              u"descrizione\\s+breve|breve\\s+descrizione|sommario",
              u"краткое\\s+описание|аннотация"},
             {descriptionNot}),
        rule(u"longDesc",
             {u"long\\s*desc(ription)?|l\\s*desc|desc(ription)?\\s*long|full\\s*desc(ription)?|"
              u"detailed\\s*desc(ription)?",
              u"langbeschreibung|ausf[üu]hrliche\\s+beschreibung",
              u"description\\s+(longue|compl[èe]te|d[ée]taill[ée]e)|longue\\s+description",
              u"descripci[óo]n\\s+(larga|completa|detallada)",
              u"descrizione\\s+(lunga|completa|dettagliata)",
              u"полное\\s+описание|подробное\\s+описание"},
             {descriptionNot}),
        rule(u"description",
             {u"desc|descr|description|describe|about(\\s+(the\\s+)?(program|software|product))?|"
              u"details",
              u"beschreibung|programmbeschreibung|produktbeschreibung", u"descripci[óo]n",
              u"descrizione", u"описание(\\s+программы)?"},
             {descriptionNot}),
        rule(u"sysReq", {u"system\\s*req(uirements?)?|requirements|sys\\s*req",
                         u"systemanforderungen|anforderungen",
                         u"configuration\\s+(requise|minimale)", u"requisitos(\\s+del\\s+sistema)?",
                         u"requisiti(\\s+di\\s+sistema)?", u"системные\\s+требования|требования"}),
        rule(u"os",
             {u"operating\\s*systems?|os|platforms?|supported\\s+systems",
              u"betriebssystem(e)?|plattform(en)?",
              u"syst[èe]mes?\\s+d['’]exploitation|plate-?formes?",
              u"sistemas?\\s+operativos?|plataformas?",
              u"sistemi\\s+operativi|sistema\\s+operativo|piattaform[ae]",
              u"операционн\\p{L}*\\s+систем\\p{L}*|ос|платформ\\p{L}*"},
             {u"requirement|anforderung|exigence|requisit|требовани|version"}),
        rule(u"license",
             {u"licen[cs]e(\\s*type)?|type\\s+of\\s+licen[cs]e|distribution(\\s*type)?|"
              u"program\\s*type",
              u"lizenz(typ|art)?", u"type\\s+de\\s+licence", u"licencia|tipo\\s+de\\s+licencia",
              u"licenza|tipo\\s+di\\s+licenza", u"лицензи\\p{L}*|тип\\s+лицензии"},
             {u"agree|accept|terms|key|number|code|url|text|akzept|accepte|acepto|accetto",
              u"соглас|ключ"}),
        rule(u"price",
             {u"price(\\s*in\\s*usd)?|cost|fee|registration\\s*(fee|cost|price)", u"preis|kosten",
              u"prix|co[ûu]t|tarif", u"precio|coste", u"costo|prezzo", u"цена|стоимость"},
             {u"currency|w[äa]hrung|devise|moneda|valuta|валют|range|filter"}),
        rule(u"size",
             {u"((file|download|program|setup|installer)\\s*)?size|f\\s*size",
              u"dateigr[öo](ß|ss)e|gr[öo](ß|ss)e", u"taille(\\s+du\\s+fichier)?",
              u"tama[ñn]o(\\s+del\\s+archivo)?", u"dimensione(\\s+del\\s+file)?",
              u"размер(\\s+файла)?"},
             {u"font|screen|image|window|shoe|max|limit|upload"}),
        rule(u"releaseDate",
             {u"release\\s*date|date\\s*(of\\s*)?release|released(\\s*on)?|"
              u"publication\\s*date|date",
              u"ver[öo]ffentlich\\p{L}*|erscheinungsdatum|datum",
              u"date\\s+de\\s+(sortie|publication|parution)",
              u"fecha(\\s+de\\s+(lanzamiento|publicaci[óo]n))?",
              u"data(\\s+di\\s+(rilascio|pubblicazione|uscita))?",
              u"дата(\\s+(выпуска|релиза|выхода))?"},
             {u"birth|geburt|naissance|nacimiento|nascita|рожден|expir|today|heute|notes"}),
        rule(u"version",
             {u"version|ver|vers|release\\s*(number|no)", u"versions?nummer",
              u"num[ée]ro\\s+de\\s+version", u"versi[óo]n", u"versione", u"версия"},
             {u"pad|os|windows|min|required|php|java|net|framework|format|api|browser"}),
        rule(u"firstName",
             {u"first\\s*name|f\\s*name|given\\s*name|forename", u"vorname", u"pr[ée]nom",
              u"primer\\s+nombre", u"nome\\s+proprio", u"имя"},
             {u"program|software|product|app|file|company|user|login|benutzer|programm",
              u"logiciel|programa|programma|программ|файл|пользовател"}),
        rule(u"lastName",
             {u"last\\s*name|l\\s*name|surname|family\\s*name", u"nachname|familienname",
              u"nom(\\s+de\\s+famille)?", u"apellidos?", u"cognome", u"фамилия"},
             {u"logiciel|programme|produit|application|soci|entreprise|company|program",
              u"software|user|utilisateur|fichier|domaine"}),
        rule(u"name",
             {u"(program(me)?|prog|software|soft|product|app(lication)?)\\s*(name|title)|"
              u"name\\s+of\\s+(the\\s+)?(program(me)?|software|application|product)|title|pname",
              u"programmname|softwarename|produktname|anwendungsname|titel|"
              u"name\\s+de[rs]\\s+(programms?|software|anwendung|produkts)",
              u"nom\\s+(du\\s+(logiciel|programme|produit)|de\\s+l['’]application)|titre",
              u"nombre\\s+del\\s+(programa|software|producto)|"
              u"nombre\\s+de\\s+la\\s+aplicaci[óo]n|t[íi]tulo",
              u"nome\\s+del\\s+(programma|software|prodotto)|nome\\s+dell['’]applicazione|titolo",
              u"название(\\s+(программы|продукта|приложения))?|наименование(\\s+программы)?|"
              u"имя\\s+программы"},
             {u"company|firm|author|developer|publisher|vendor|first|last|your|contact|e-?mail",
              u"file|page|site|firma|unternehmen|autor|entwickler|soci|entreprise|empresa",
              u"azienda|компани|фирм|автор|разработчик|html|meta|window|user|domain|categor",
              u"kategor|catégor"}),
        rule(u"fullName",
             {u"author(['’]s)?(\\s*(full\\s*)?name)?|full\\s*name|your\\s*name|"
              u"contact(\\s*(name|person))?|developer(\\s*name)?|submitter(\\s*name)?|name",
              u"autor(\\s*name)?|vollst[äa]ndiger\\s*name|ihr\\s*name",
              u"auteur|nom\\s+complet|votre\\s+nom", u"nombre(\\s+completo)?|su\\s+nombre",
              u"autore|nome(\\s+completo)?|il\\s+tuo\\s+nome",
              u"автор|ваше\\s+имя|фио|полное\\s+имя|имя\\s+автора"},
             {u"company|firm|program|software|product|app|file|user\\s*name|username|login",
              u"e-?mail|first|last|sur|given|family|domain|site|page|firma|unternehmen",
              u"programm|datei|benutzer|soci|entreprise|logiciel|fichier|empresa|programa",
              u"archivo|usuario|azienda|programma|utente|компани|программ|файл|пользовател",
              u"categor|kategor|url|web|phone|tel"}),
        rule(u"homepage",
             {u"home\\s*page|homepage|home|web\\s*(site|page)|website|site(\\s*url)?|url|web|www|"
              u"info(rmation)?\\s*(page\\s*)?url|product\\s*(page|url)|"
              u"program\\s*(info\\s*)?(page|url)",
              u"startseite|webseite|internetseite|internetadresse",
              u"site\\s+(web|internet)|page\\s+d['’]accueil",
              u"p[áa]gina\\s+(web|principal|de\\s+inicio)|sitio(\\s+web)?",
              u"sito(\\s+web)?|pagina\\s+(web|principale|iniziale)",
              u"сайт|домашняя\\s+страница|веб-?сайт|адрес\\s+сайта"},
             {u"download|dl|file|pad|xml|screen|image|icon|logo|picture|reciprocal|link\\s*back",
              u"back\\s*link|backlink|banner|datei|herunterlad|gegenlink|t[ée]l[ée]charg",
              u"r[ée]ciproque|descarga|rec[íi]proc|scarica|reciproc|скачива|загруз|файл|обратн",
              u"captcha"}),
    };
}

QRegularExpression compiled(const QString &pattern)
{
    return QRegularExpression(pattern, QRegularExpression::CaseInsensitiveOption |
                                           QRegularExpression::UseUnicodePropertiesOption);
}

QString captchaPattern()
{
    return wordStarts(anyOf(
        {u"captcha|recaptcha|capcha|security\\s*code|verification|verify|"
         u"anti-?spam|human|robot",
         u"sicherheitscode|best[äa]tigungscode|spamschutz", u"code\\s+de\\s+s[ée]curit[ée]",
         u"c[óo]digo\\s+de\\s+(seguridad|verificaci[óo]n)", u"codice\\s+di\\s+(sicurezza|verifica)",
         u"защитный\\s+код|проверочный\\s+код|код\\s+(с\\s+картинки|проверки)"}));
}

// Group 2 or 3: "max. 250", "250 characters".
QString limitPattern()
{
    return wholeWords(anyOf({u"max(imum|\\.)?\\s*:?\\s*(\\d{2,5})",
                             u"(\\d{2,5})\\s*(characters?|chars?|zeichen|caract[èe]res|"
                             u"caracteres|caratteri|символ\\p{L}*|letters)"}));
}

// Group 1 bytes, 2 kilobytes, 3 megabytes.
QString sizeUnitPattern()
{
    return wholeWords(
        anyOf({u"(bytes?|octets?|байт\\p{L}*)",
               u"(kb|kib|kbytes?|kilobytes?|ko|kilo-?octets?|кб|килобайт\\p{L}*)",
               u"(mb|mib|mbytes?|megabytes?|mo|m[ée]ga-?octets?|мб|мегабайт\\p{L}*)"}));
}

// Text a page puts into a box for the user to replace.
QString hintPattern()
{
    return u"^(?:"_s +
           anyOf({u"enter|type|your|insert|e\\.g\\.|eg|example", u"geben\\s+sie|ihre?",
                  u"entrez|saisissez|votre", u"introduzca|escriba|su",
                  u"inserisci|il\\s+tuo|la\\s+tua", u"введите|ваш[аеи]?"}) +
           u")(?![\\p{L}\\p{N}])|(?:\\.\\.\\.|…)$"_s;
}

} // namespace

const QList<FieldPatterns::Rule> &FieldPatterns::rules()
{
    static const QList<Rule> table = buildRules();
    return table;
}

QString FieldPatterns::classify(const QString &text)
{
    static const auto compiledRules = [] {
        QList<std::pair<QRegularExpression, QRegularExpression>> list;
        for (const Rule &r : rules())
            list.append({compiled(r.yes), compiled(r.no.isEmpty() ? u"(?!)"_s : r.no)});
        return list;
    }();
    const QString simple = text.simplified();
    for (qsizetype i = 0; i < compiledRules.size(); ++i) {
        const auto &[yes, no] = compiledRules[i];
        if (yes.match(simple).hasMatch() && !no.match(simple).hasMatch())
            return rules()[i].field;
    }
    return {};
}

bool FieldPatterns::isCaptcha(const QString &text)
{
    static const QRegularExpression captcha = compiled(captchaPattern());
    return captcha.match(text).hasMatch();
}

int FieldPatterns::statedLimit(const QString &text)
{
    static const QRegularExpression limit = compiled(limitPattern());
    const QRegularExpressionMatch match = limit.match(text);
    if (!match.hasMatch())
        return 0;
    return (match.captured(2).isEmpty() ? match.captured(3) : match.captured(2)).toInt();
}

QJsonObject FieldPatterns::json()
{
    QJsonArray fields;
    for (const Rule &r : rules())
        fields.append(QJsonObject{{u"field"_s, r.field}, {u"yes"_s, r.yes}, {u"no"_s, r.no}});
    QJsonArray padNames;
    for (const AutoFillScript::Target &target : AutoFillScript::targets())
        padNames.append(target.element);
    const QJsonObject autocomplete{
        {u"given-name"_s, u"firstName"_s}, {u"family-name"_s, u"lastName"_s},
        {u"name"_s, u"fullName"_s},        {u"email"_s, u"email"_s},
        {u"organization"_s, u"company"_s}, {u"url"_s, u"homepage"_s},
    };
    return {{u"fields"_s, fields},        {u"captcha"_s, captchaPattern()},
            {u"limit"_s, limitPattern()}, {u"sizeUnit"_s, sizeUnitPattern()},
            {u"hint"_s, hintPattern()},   {u"autocomplete"_s, autocomplete},
            {u"padNames"_s, padNames}};
}

} // namespace tarvelo
