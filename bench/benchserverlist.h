#pragma once

#include <QTextStream>

// The server list refreshing 200 servers that all answer on 127.0.0.1 (fake servers in this
// process): the time until every row shows its server's name, the time until every query has
// ended (players and rules included), and the longest gap of the event loop meanwhile.
namespace BenchServerList {

struct Figures {
    bool ok = false;
    double filledMs = -1;     // refresh pressed to the 200th name shown (median)
    double finishedMs = -1;   // to "200 / 200 serveurs" (median)
    double longestGapMs = -1; // the largest gap between two turns of the event loop (worst)
    double medianGapMs = -1;  // each refresh's largest gap, median
};

Figures measure(int servers, int runs);
// Prints the figures with their targets (1 s, 50 ms); false when a target is missed.
bool print(QTextStream &out, int runs = 5);

} // namespace BenchServerList
