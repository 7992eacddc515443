// The benchmark's rules: the middle of the rounds, whether a target is met,
// and the CSV lines that scripts read.

#include <gtest/gtest.h>

#include "Results.h"

namespace qvbench {
namespace {

TEST(BenchResults, TheMedianIsTheMiddleRoundOrTheMeanOfTheMiddleTwoWhateverTheirOrder) {
    const Spread odd = Summarise({9, 1, 5, 7, 3});
    EXPECT_EQ(odd.median, 5);
    EXPECT_EQ(odd.low, 1);
    EXPECT_EQ(odd.high, 9);
    EXPECT_EQ(Summarise({4, 1, 3, 2}).median, 2.5);
    EXPECT_EQ(Summarise({}).median, 0);
}

TEST(BenchResults, ATargetIsJudgedByTheMedianOfTheComparedRoundsOnItsSide) {
    Figure atMost("switch", "ms", "daemon / bare", Goal::kAtMost, 1.5);
    EXPECT_EQ(atMost.Met(), "no");  // nothing measured meets nothing
    // One bad round of five does not decide it.
    for (double compared : {1.2, 1.4, 9.0, 1.5, 1.3}) atMost.AddRound(1, 1, compared);
    EXPECT_EQ(atMost.Met(), "yes");
    for (double compared : {1.6, 1.7, 1.8}) atMost.AddRound(1, 1, compared);
    EXPECT_EQ(atMost.Met(), "no");  // the middle two are 1.5 and 1.6

    Figure atLeast("bitmap", "ms", "bare / daemon", Goal::kAtLeast, 0.5);
    atLeast.AddRound(1, 1, 0.5);
    EXPECT_EQ(atLeast.Met(), "yes");
    atLeast.failed = true;
    EXPECT_EQ(atLeast.Met(), "no");

    Figure report("viewer", "ms", "start / replies", Goal::kReport, 0);
    report.failed = true;
    EXPECT_EQ(report.Met(), "report");
}

TEST(BenchResults, TheCsvHoldsTheMediansAndTheMedianOfTheComparedRoundsNotTheirRatio) {
    Figure figure("Information reply", "ms", "daemon / bare", Goal::kAtMost, 1.3);
    figure.AddRound(2.0, 1.0, 2.0);
    figure.AddRound(4.0, 4.0, 1.0);
    figure.AddRound(3.0, 2.5, 1.2);
    Figure growth("no growth: bar handles", "handles", "after - before", Goal::kAtMost, 0);
    growth.AddRound(57, 57, 0);
    EXPECT_EQ(CsvText({figure, growth}),
              "name,measured,baseline,ratio,target,met\n"
              "Information reply,3.00,2.50,1.20,<= 1.30,yes\n"
              "no growth: bar handles,57.0,57.0,0,<= 0,yes\n");
}

}  // namespace
}  // namespace qvbench
