#pragma once

#include "core/profiles/PadCheck.h"

#include <QDialog>

class QTableWidget;

namespace tarvelo {

// The problems the PAD check found in one profile's file: the field's path,
// the rule's own documentation and the value, one row each. Not modal: the
// user may keep it open beside the window while correcting the file.
class PadProblemsDialog : public QDialog
{
    Q_OBJECT
public:
    explicit PadProblemsDialog(QWidget *owner);

    // Replaces the rows and shows the dialog in front.
    void showProblems(int profile, const QString &file, const QList<PadCheck::Problem> &problems);

    QTableWidget *table() const { return m_table; }

private:
    QTableWidget *m_table = nullptr;
};

} // namespace tarvelo
