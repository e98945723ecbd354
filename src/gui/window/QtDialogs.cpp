#include "gui/window/QtDialogs.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QInputDialog>
#include <QLineEdit>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace tarvelo {

namespace {

const QString siteListFilter()
{
    return u"Site lists (*.txt *.csv);;Text files (*.txt);;CSV files (*.csv);;All files (*)"_s;
}

QLineEdit *addLine(QDialog &dialog, QFormLayout &form, const QString &name, const QString &label,
                   const QString &text)
{
    auto *line = new QLineEdit(text, &dialog);
    line->setObjectName(name);
    form.addRow(label, line);
    return line;
}

} // namespace

QMessageBox::StandardButton QtDialogs::messageBox(QWidget *owner, const QString &text,
                                                  const QString &title, QMessageBox::Icon icon,
                                                  QMessageBox::StandardButtons buttons,
                                                  QMessageBox::StandardButton defaultButton)
{
    QMessageBox box(icon, title, text, buttons, owner);
    box.setDefaultButton(defaultButton);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

std::optional<SiteEntry> QtDialogs::editSite(QWidget *owner, const QString &title,
                                             const SiteEntry &entry)
{
    QDialog dialog(owner);
    dialog.setObjectName(u"dlgSite"_s);
    dialog.setWindowTitle(title);
    auto *form = new QFormLayout(&dialog);
    QLineEdit *address = addLine(dialog, *form, u"txtSiteAddress"_s, u"&Address:"_s, entry.address);
    address->setMinimumWidth(420);
    QLineEdit *name = addLine(dialog, *form, u"txtSiteName"_s, u"&Name:"_s, entry.name);
    QLineEdit *note = addLine(dialog, *form, u"txtSiteNote"_s, u"N&ote:"_s, entry.note);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    form->addRow(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    // An address is what makes a site; OK waits for one.
    const auto updateOk = [address, buttons] {
        buttons->button(QDialogButtonBox::Ok)->setEnabled(!address->text().trimmed().isEmpty());
    };
    QObject::connect(address, &QLineEdit::textChanged, &dialog, updateOk);
    updateOk();
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return SiteEntry{address->text().trimmed(), name->text().trimmed(), note->text().trimmed()};
}

std::optional<QString> QtDialogs::askText(QWidget *owner, const QString &title,
                                          const QString &label, const QString &text)
{
    bool ok = false;
    const QString answer = QInputDialog::getText(owner, title, label, QLineEdit::Normal, text, &ok);
    if (!ok)
        return std::nullopt;
    return answer.trimmed();
}

QString QtDialogs::openSiteList(QWidget *owner)
{
    return QFileDialog::getOpenFileName(owner, u"Import sites"_s, {}, siteListFilter());
}

QString QtDialogs::saveSiteList(QWidget *owner)
{
    return QFileDialog::getSaveFileName(owner, u"Export sites"_s, u"sites.csv"_s, siteListFilter());
}

} // namespace tarvelo
