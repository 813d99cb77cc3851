// Writes a replay file of simulated station readings, for timing the replay:
//   make_replay_year FILE [DAYS] [YYYY-MM-DD]
// a year from 1 January 2026 unless told otherwise.

#include "replay_year.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>

int main(int argc, char* argv[])
{
    if (argc < 2 || argc > 4) {
        std::fprintf(stderr, "Usage: make_replay_year FILE [DAYS] [YYYY-MM-DD]\n");
        return 2;
    }
    const int days = argc > 2 ? std::atoi(argv[2]) : 365;
    const QDate start = argc > 3 ? QDate::fromString(QString::fromLatin1(argv[3]), Qt::ISODate) : QDate(2026, 1, 1);
    std::ofstream out(argv[1], std::ios::binary);
    if (!out || days <= 0 || !start.isValid()) {
        std::fprintf(stderr, "make_replay_year: bad days or date, or cannot write %s\n", argv[1]);
        return 2;
    }
    brezmor::WriteReplayDays(out, start, days);
    return out.good() ? 0 : 1;
}
