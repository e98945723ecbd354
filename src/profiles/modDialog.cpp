#include "profiles/modDialog.h"

#include <QFileDialog>

namespace tarvelo::modDialog {

void configurePadDialog(QFileDialog &dialog)
{
    dialog.setWindowTitle(QStringLiteral("Select a PAD file"));
    dialog.setNameFilter(QStringLiteral("XML Files (*.xml *.XML)"));
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setWindowModality(Qt::WindowModal);
}

QString OpenPadDialog(QWidget &form)
{
    QFileDialog dialog(&form);
    configurePadDialog(dialog);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    const QStringList chosen = dialog.selectedFiles();
    return chosen.isEmpty() ? QString() : chosen.first();
}

} // namespace tarvelo::modDialog
