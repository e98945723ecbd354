#include "gui/window/Accessibility.h"

#include "gui/browser/Browser.h"
#include "gui/window/ClickableLabel.h"
#include "gui/window/MainWindow.h"
#include "gui/window/TabControl.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace tarvelo {

namespace {

// Spoken names of the detail fields; the captions pad with blanks and split
// the two download addresses over two labels.
QString spokenName(Field field)
{
    switch (field) {
    case Field::Author:
        return u"Author"_s;
    case Field::Email:
        return u"Email"_s;
    case Field::Company:
        return u"Company"_s;
    case Field::ProgName:
        return u"Program name"_s;
    case Field::ProgVer:
        return u"Program version"_s;
    case Field::FileSize:
        return u"File size"_s;
    case Field::OS:
        return u"Operating system"_s;
    case Field::SysReq:
        return u"System requirements"_s;
    case Field::HomePage:
        return u"Home page"_s;
    case Field::ProgURL:
        return u"Program URL 1"_s;
    case Field::SecURL:
        return u"Program URL 2"_s;
    case Field::SShotURL:
        return u"Screenshot URL"_s;
    case Field::ProgIcon:
        return u"Program icon URL"_s;
    case Field::ShortDesc:
        return u"Short description"_s;
    case Field::LongDesc:
        return u"Long description"_s;
    case Field::Keywords:
        return u"Keywords"_s;
    case Field::PADURL:
        return u"PAD URL"_s;
    case Field::LocalPAD:
        return u"Local PAD"_s;
    }
    return {};
}

QLabel *captionOf(const QFrame *panel, const QString &caption)
{
    const auto labels = panel->findChildren<QLabel *>(Qt::FindDirectChildrenOnly);
    for (QLabel *label : labels) {
        if (label->text() == caption)
            return label;
    }
    return nullptr;
}

} // namespace

void Accessibility::apply(MainWindow &window)
{
    nameMainTab(window);
    namePadFilesTab(window);
    orderTabKey(window);
}

void Accessibility::nameMainTab(MainWindow &window)
{
    window.tabControl->setAccessibleName(u"Pages"_s);
    window.tabControl->page(0)->setAccessibleName(u"Main Window"_s);
    window.tabControl->page(1)->setAccessibleName(u"PAD Files"_s);

    window.lstSites->setAccessibleName(u"Submission sites"_s);
    // Qt reads other widgets' tooltips as their description, not a list's.
    window.lstSites->setAccessibleDescription(window.lstSites->toolTip());
    window.cmdPAD->setAccessibleName(u"PAD sites"_s);
    window.cmdHome->setAccessibleName(u"Home"_s);
    window.Frame1->setAccessibleName(u"Field buttons"_s);
    window.fraBrowser->setAccessibleName(u"Browser"_s);
    window.WebBr->widget()->setAccessibleName(u"Web page"_s);
    // Their text is what is read; while they are empty there is nothing to say.
    window.lblStatus->setAccessibleDescription(u"Status"_s);
    window.lblProgress->setAccessibleDescription(u"Progress"_s);
}

void Accessibility::namePadFilesTab(MainWindow &window)
{
    window.fraDetalis->setAccessibleName(u"PAD files"_s);
    for (int i = 0; i < ProfileCount; ++i) {
        const QString number = QString::number(i + 1);
        window.txtLocalPAD[i]->setAccessibleName(spokenName(Field::LocalPAD) + u' ' + number);
        window.lblLocalPad[i]->setBuddy(window.txtLocalPAD[i]);
        window.txtPADURL[i]->setAccessibleName(spokenName(Field::PADURL) + u' ' + number);
        window.lblPADURL[i]->setBuddy(window.txtPADURL[i]);

        QFrame *panel = window.fraDesc[i];
        panel->setAccessibleName(u"Profile %1 details"_s.arg(number));
        for (const FieldSpec &info : fieldTable()) {
            if (info.label.isEmpty())
                continue; // not on the detail panel
            QWidget *box = window.fieldBox(info.field, i);
            box->setAccessibleName(u"%1, profile %2"_s.arg(spokenName(info.field), number));
            if (QLabel *caption = captionOf(panel, info.label))
                caption->setBuddy(box);
        }
    }
}

void Accessibility::orderTabKey(MainWindow &window)
{
    // Creation order put each profile's PAD URL row before its local PAD row;
    // the page shows the local PAD rows first.
    QList<QWidget *> padFiles;
    for (int i = 0; i < ProfileCount; ++i)
        padFiles << window.lblLocalPad[i] << window.txtLocalPAD[i];
    for (int i = 0; i < ProfileCount; ++i)
        padFiles << window.lblPADURL[i] << window.txtPADURL[i];

    const QList<QWidget *> mainWindow{
        window.lstSites,     window.cmdBack,     window.cmdForward, window.cmdStop,
        window.cmdRefresh,   window.cmdPAD,      window.cmdHome,    window.cmdProgName,
        window.cmdProgVer,   window.cmdAuthor,   window.cmdEmail,   window.cmdFileSize,
        window.cmdSysReq,    window.cmdHomePage, window.cmdProgURL, window.cmdSShotURL,
        window.cmdShortDesc, window.cmdLongDesc, window.cmdPADURL};

    for (const QList<QWidget *> &order : {mainWindow, padFiles}) {
        for (qsizetype k = 1; k < order.size(); ++k)
            QWidget::setTabOrder(order[k - 1], order[k]);
    }
}

} // namespace tarvelo
