#include "gui/profiles/PadProblemsDialog.h"

#include "core/profiles/PadCheckCommand.h"

#include <QHeaderView>
#include <QTableWidget>
#include <QVBoxLayout>

namespace tarvelo {

PadProblemsDialog::PadProblemsDialog(QWidget *owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("frmPadProblems"));
    m_table = new QTableWidget(0, 3, this);
    m_table->setObjectName(QStringLiteral("grdPadProblems"));
    m_table->setHorizontalHeaderLabels(
        {QStringLiteral("Field"), QStringLiteral("Rule"), QStringLiteral("Value")});
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setWordWrap(true);
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_table);
    resize(900, 420);
}

void PadProblemsDialog::showProblems(int profile, const QString &file,
                                     const QList<PadCheck::Problem> &problems)
{
    setWindowTitle(QStringLiteral("PAD check %1: %2").arg(profile + 1).arg(file));
    m_table->setRowCount(int(problems.size()));
    for (int row = 0; row < problems.size(); ++row) {
        const PadCheck::Problem &problem = problems[row];
        // The value on one line, cut; the whole of it in the tooltip.
        auto *value = new QTableWidgetItem(PadCheckCommand::shownValue(problem.value));
        value->setToolTip(problem.value);
        m_table->setItem(row, 0, new QTableWidgetItem(problem.path));
        m_table->setItem(row, 1, new QTableWidgetItem(problem.documentation));
        m_table->setItem(row, 2, value);
    }
    m_table->setColumnWidth(0, 360);
    m_table->setColumnWidth(1, 330);
    show();
    raise();
    activateWindow();
}

} // namespace tarvelo
