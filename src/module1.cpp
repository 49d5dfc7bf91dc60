#include "module1.h"

qint16 NumMes = 0;
QString AppFolder;
