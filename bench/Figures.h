#pragma once
// The groups of figures that the benchmark measures, each against its bare
// baseline in the same run. A group that cannot be measured gives its
// figures marked failed, with the reason in the note.

#include <vector>

#include "Results.h"

namespace qvbench {

struct Plan {
    int rounds = 5;
    // Fewer repetitions inside a round (for trying the bench out); the
    // figures are then rougher, never different in kind.
    bool quick = false;
};

// In this process, on the product's own readers.
std::vector<Figure> ParameterFileFigures(const Plan& plan);
Figure LauncherMenuFigure(const Plan& plan);
// One daemon with 8 desktops: switch handling, the Information and bitmap
// replies, the viewer's start.
std::vector<Figure> DaemonRequestFigures(const Plan& plan);
// The daemon and the bar on 4 desktops over 10,000 switches.
std::vector<Figure> NoGrowthFigures(const Plan& plan);
Figure MemoryFigure(const Plan& plan);
Figure BarStartFigure(const Plan& plan);
// The daemon's start with 8 desktops against a bare program that makes them.
Figure DaemonStartFigure(const Plan& plan);
// The daemon, the bar and the viewer on 8 desktops, each left alone.
std::vector<Figure> IdleFigures(const Plan& plan);

}  // namespace qvbench
