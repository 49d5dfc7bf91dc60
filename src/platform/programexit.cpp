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
        QCoreApplication::exit(0);
}

void SetEndProgramFunction(std::function<void()> function)
{
    replacement() = std::move(function);
}
