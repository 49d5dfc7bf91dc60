// Saves slot 1 over and over, alternating two messages, until it is killed. The fault
// tests kill it at random moments to see what an interrupted save leaves on disk.
//
// Usage: saveloop FOLDER TITLE_A TEXT_A TITLE_B TEXT_B

#include "module1.h"
#include "store/slotstore.h"

#include <QString>

#include <cstdio>

int main(int argc, char *argv[])
{
    if (argc != 6)
        return 2;
    AppFolder = QString::fromLocal8Bit(argv[1]);
    const QString titles[] = {QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[4])};
    const QString texts[] = {QString::fromLocal8Bit(argv[3]), QString::fromLocal8Bit(argv[5])};

    std::puts("saving");
    std::fflush(stdout);
    for (int i = 0;; i = 1 - i) {
        if (WriteSlot(1, titles[i], texts[i]) != WriteResult::Ok)
            return 1;
    }
}
