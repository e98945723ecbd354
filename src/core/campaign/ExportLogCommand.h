#pragma once

#include <QString>
#include <QTextStream>

namespace tarvelo {

// `tarvelo --export-log FILE.csv`: the campaign log from the store for
// scripts. Reads the store without taking it, so the window may be running;
// never creates one.
class ExportLogCommand
{
public:
    enum ExitCode { Written = 0, StoreUnusable = 2 };

    static int run(const QString &storePath, const QString &csvPath, QTextStream &err);
};

} // namespace tarvelo
