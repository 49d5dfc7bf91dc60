#include "programexit.h"

#include <QCoreApplication>

namespace {

std::function<void()> &replacement()
{
    static std::function<void()> function;
    return function;
}

} // namespace

void EndProgram()
{
    if (replacement())
        replacement()();
    else
        QCoreApplication::quit();
}

void SetEndProgramFunction(std::function<void()> function)
{
    replacement() = std::move(function);
}
