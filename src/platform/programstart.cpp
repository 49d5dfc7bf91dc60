#include "programstart.h"

#include <QProcess>

namespace {

StartProgramFunction &replacement()
{
    static StartProgramFunction function;
    return function;
}

} // namespace

bool StartProgram(const QString &path)
{
    if (replacement())
        return replacement()(path);
    if (path.isEmpty())
        return false;
    return QProcess::startDetached(path, {});
}

void SetStartProgramFunction(StartProgramFunction function)
{
    replacement() = std::move(function);
}
