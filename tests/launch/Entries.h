#pragma once
// Program entries built the way a parameter file gives them: pairs added,
// then validated and applied.

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <string>
#include <utility>

#include "Executant.h"
#include "Processes.h"

namespace qvtest {

inline std::unique_ptr<qv::Executant> MakeEntry(std::initializer_list<std::pair<const char*, std::string>> pairs) {
    auto entry = std::make_unique<qv::Executant>();
    for (const auto& [key, value] : pairs) EXPECT_EQ(entry->AddEntry(key, value.c_str()), 1) << key;
    EXPECT_EQ(entry->Validate(), 0);
    entry->Apply();
    return entry;
}

// The fixture as a program entry, reporting into report.
inline std::unique_ptr<qv::Executant> FixtureEntry(const std::string& title, const std::string& report,
                                                   const std::string& extra = "") {
    return MakeEntry({{"ExecutionFileName", FixturePath()},
                      {"ExecutionArguments", "--title=" + title + " --report=" + report + " " + extra}});
}

}  // namespace qvtest
