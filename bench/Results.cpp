#include "Results.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace qvbench {

Spread Summarise(std::vector<double> rounds) {
    Spread spread;
    if (rounds.empty()) return spread;
    std::sort(rounds.begin(), rounds.end());
    const size_t middle = rounds.size() / 2;
    spread.median = rounds.size() % 2 ? rounds[middle] : (rounds[middle - 1] + rounds[middle]) / 2;
    spread.low = rounds.front();
    spread.high = rounds.back();
    return spread;
}

void Figure::AddRound(double measuredValue, double baselineValue, double comparedValue) {
    measured.push_back(measuredValue);
    baseline.push_back(baselineValue);
    compared.push_back(comparedValue);
}

std::string Figure::Met() const {
    if (goal == Goal::kReport) return "report";
    if (failed || compared.empty()) return "no";
    const double value = Summarise(compared).median;
    return (goal == Goal::kAtMost ? value <= target : value >= target) ? "yes" : "no";
}

namespace {

// Enough digits to compare, never an exponent.
std::string Number(double value) {
    char text[48];
    const double size = std::fabs(value);
    const char* format = size >= 100 ? "%.0f" : size >= 10 ? "%.1f" : size >= 1 ? "%.2f" : "%.3f";
    if (value == 0) format = "%.0f";
    std::snprintf(text, sizeof(text), format, value);
    return text;
}

std::string WithSpread(const std::vector<double>& rounds) {
    if (rounds.empty()) return "-";
    const Spread spread = Summarise(rounds);
    return Number(spread.median) + " [" + Number(spread.low) + ", " + Number(spread.high) + "]";
}

}  // namespace

std::string Figure::TargetText() const {
    switch (goal) {
    case Goal::kAtMost: return "<= " + Number(target);
    case Goal::kAtLeast: return ">= " + Number(target);
    case Goal::kReport: break;
    }
    return "report";
}

double Ratio(double over, double under) { return under == 0 ? 0 : over / under; }

std::string CsvText(const std::vector<Figure>& figures) {
    std::string text = "name,measured,baseline,ratio,target,met\n";
    for (const Figure& figure : figures) {
        const std::string baseline = figure.baseline.empty() ? "" : Number(Summarise(figure.baseline).median);
        text += figure.name + "," + Number(Summarise(figure.measured).median) + "," + baseline + "," +
                Number(Summarise(figure.compared).median) + "," + figure.TargetText() + "," + figure.Met() + "\n";
    }
    return text;
}

std::string MarkdownText(const std::vector<Figure>& figures, const std::string& machine) {
    std::string text = "Median [min, max] of the rounds; the measured program and its bare baseline run side by "
                       "side in each round, and the compared value is taken per round.\n\n" +
                       machine + "\n\n| figure | unit | measured | baseline | compared | target | met | rounds |\n"
                                 "|---|---|---|---|---|---|---|---|\n";
    for (const Figure& figure : figures) {
        text += "| " + figure.name + " | " + figure.unit + " | " + WithSpread(figure.measured) + " | " +
                WithSpread(figure.baseline) + " | " + figure.comparedAs + ": " + WithSpread(figure.compared) +
                " | " + figure.TargetText() + " | " + figure.Met() + " | " + std::to_string(figure.compared.size()) +
                " |\n";
    }
    bool heading = false;
    for (const Figure& figure : figures) {
        if (figure.note.empty()) continue;
        if (!heading) text += "\n";
        heading = true;
        text += "- **" + figure.name + "**: " + figure.note + "\n";
    }
    return text;
}

}  // namespace qvbench
