#pragma once
// The benchmark's figures: rounds of a measurement and of its bare baseline
// taken side by side, what they are compared by, and the table and the CSV
// lines made of them. Window-free, so that the rules are tested alone.

#include <string>
#include <utility>
#include <vector>

namespace qvbench {

// The middle and the extremes of a set of rounds.
struct Spread {
    double median = 0;
    double low = 0;
    double high = 0;
};
// Empty rounds give zeros; an even count takes the mean of the middle two.
Spread Summarise(std::vector<double> rounds);

// What a figure's compared value (one per round) must do.
enum class Goal {
    kAtMost,   // compared <= target
    kAtLeast,  // compared >= target
    kReport,   // no target: the figure is reported
};

struct Figure {
    Figure(std::string figureName, std::string figureUnit, std::string figureCompared, Goal figureGoal, double figureTarget)
        : name(std::move(figureName)), unit(std::move(figureUnit)), comparedAs(std::move(figureCompared)),
          goal(figureGoal), target(figureTarget) {}

    std::string name;        // the CSV name
    std::string unit;        // of measured and baseline
    std::string comparedAs;  // how the compared value is made, for the table
    Goal goal = Goal::kReport;
    double target = 0;
    std::vector<double> measured;  // one per round
    std::vector<double> baseline;  // one per round; empty when there is none
    std::vector<double> compared;  // one per round
    std::string note;              // what a reader should know; empty when nothing
    bool failed = false;           // the measurement itself could not be made

    void AddRound(double measuredValue, double baselineValue, double comparedValue);
    // "yes", "no" or "report"; "no" for a figure that could not be measured.
    std::string Met() const;
    std::string TargetText() const;  // "<= 1.5", ">= 0.3", "report"
};

// The ratio of two medians-to-be, 0 when the denominator is.
double Ratio(double over, double under);

// The header line and one line per figure: name,measured,baseline,ratio,target,met
// (the medians; the compared median as the ratio).
std::string CsvText(const std::vector<Figure>& figures);
// The table, with the spread (min to max) of every column, and the notes.
std::string MarkdownText(const std::vector<Figure>& figures, const std::string& machine);

}  // namespace qvbench
