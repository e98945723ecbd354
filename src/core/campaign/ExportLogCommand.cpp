#include "core/campaign/ExportLogCommand.h"

#include "core/campaign/CampaignStore.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace tarvelo {

int ExportLogCommand::run(const QString &storePath, const QString &csvPath, QTextStream &err)
{
    if (!QFileInfo::exists(storePath)) {
        err << "--export-log: no campaign store at " << QDir::toNativeSeparators(storePath)
            << Qt::endl;
        return StoreUnusable;
    }
    CampaignStore store;
    const CampaignStore::OpenOutcome opened = store.openReadOnly(storePath);
    if (!opened.ok) {
        err << "--export-log: " << opened.message << Qt::endl;
        return StoreUnusable;
    }
    QString error;
    if (!store.exportLog(csvPath, &error)) {
        err << "--export-log: " << error << Qt::endl;
        return StoreUnusable;
    }
    return Written;
}

} // namespace tarvelo
