#include "gui/window/Accessibility.h"

#include "gui/window/ClickableLabel.h"
#include "gui/window/MainWindow.h"
#include "gui/window/TabControl.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace tarvelo {

void Accessibility::apply(MainWindow &window)
{
    nameMainTab(window);
    namePadFilesTab(window);
    orderTabKey(window);
}

void Accessibility::nameMainTab(MainWindow &window)
{
    window.tabControl()->setAccessibleName(u"Pages"_s);
    window.tabControl()->page(0)->setAccessibleName(u"Main Window"_s);
    window.tabControl()->page(1)->setAccessibleName(u"PAD Files"_s);
    window.tabControl()->page(2)->setAccessibleName(u"Sites"_s);

    QListWidget *sites = window.siteList();
    sites->setAccessibleName(u"Submission sites"_s);
    // Qt reads other widgets' tooltips as their description, not a list's.
    sites->setAccessibleDescription(sites->toolTip());
    window.padSitesButton()->setAccessibleName(u"PAD sites"_s);
    window.homeButton()->setAccessibleName(u"Home"_s);
    window.fieldButtonFrame()->setAccessibleName(u"Field buttons"_s);
    window.browserFrame()->setAccessibleName(u"Browser"_s);
    window.browserView()->setAccessibleName(u"Web page"_s);
    // Their text is what is read; while they are empty there is nothing to say.
    window.statusLabel()->setAccessibleDescription(u"Status"_s);
    window.progressLabel()->setAccessibleDescription(u"Progress"_s);
}

void Accessibility::namePadFilesTab(MainWindow &window)
{
    window.padFilesFrame()->setAccessibleName(u"PAD files"_s);
    for (int i = 0; i < ProfileCount; ++i) {
        const QString number = QString::number(i + 1);
        for (Field field : {Field::LocalPAD, Field::PADURL})
            window.fieldBox(field, i)->setAccessibleName(fieldSpec(field).spokenName + u' ' +
                                                         number);
        window.localPadLabel(i)->setBuddy(window.fieldBox(Field::LocalPAD, i));
        window.padUrlLabel(i)->setBuddy(window.fieldBox(Field::PADURL, i));

        window.detailPanel(i)->setAccessibleName(u"Profile %1 details"_s.arg(number));
        for (const FieldSpec &info : fieldTable()) {
            QLabel *caption = window.fieldCaption(info.field, i);
            if (!caption)
                continue; // not on the detail panel
            QWidget *box = window.fieldBox(info.field, i);
            box->setAccessibleName(u"%1, profile %2"_s.arg(info.spokenName, number));
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
        padFiles << window.localPadLabel(i) << window.fieldBox(Field::LocalPAD, i);
    for (int i = 0; i < ProfileCount; ++i)
        padFiles << window.padUrlLabel(i) << window.fieldBox(Field::PADURL, i);

    QList<QWidget *> mainWindow{window.siteList(),
                                window.navButton(NavButton::Back),
                                window.navButton(NavButton::Forward),
                                window.navButton(NavButton::Stop),
                                window.navButton(NavButton::Refresh),
                                window.padSitesButton(),
                                window.homeButton(),
                                window.fillFormButton()};
    for (const FieldButtonSpec &info : fieldButtonTable())
        mainWindow << window.fieldButton(info.field);

    for (const QList<QWidget *> &order : {mainWindow, padFiles}) {
        for (qsizetype k = 1; k < order.size(); ++k)
            QWidget::setTabOrder(order[k - 1], order[k]);
    }
}

} // namespace tarvelo
