#pragma once

class QElapsedTimer;

// The child side of the start-up and memory figures: started as
//   bench_corvane --child <bare|splash|main|main-direct|main-empty|list> <fixture root>
// it prints "ready" once its window is on screen, then "step <name> <ms>" lines (times since
// main() was entered), "rss <KiB>" (resident now), "hwm <KiB>" (peak resident memory) and
// "kind <KiB> <name>" (resident memory by what holds it), and exits.
int runChild(int argc, char *argv[], const QElapsedTimer &sinceMain);
