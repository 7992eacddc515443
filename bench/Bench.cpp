// make bench: each figure of the suite against a bare baseline measured in
// the same run, printed as a table and written to results.md and
// results.csv in the working directory.
//   QVBench.exe [--quick] [--rounds=N] [--only=group,...]
// Groups: files, requests, growth, memory, bar, idle.

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "Figures.h"
#include "TestFiles.h"

namespace {

std::string Machine() {
    SYSTEM_INFO system = {};
    GetNativeSystemInfo(&system);
    using WineVersion = const char*(__cdecl*)();
    const auto wineVersion = reinterpret_cast<WineVersion>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version")));
    std::string processor;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0", 0, KEY_READ, &key) ==
        ERROR_SUCCESS) {
        char text[256] = {};
        DWORD size = sizeof(text) - 1;
        if (RegQueryValueExA(key, "ProcessorNameString", nullptr, nullptr, reinterpret_cast<BYTE*>(text), &size) ==
            ERROR_SUCCESS)
            processor = text;
        RegCloseKey(key);
    }
    char text[512];
    std::snprintf(text, sizeof(text), "Machine: %lu cores (%s), %s, screen %dx%d.",
                  static_cast<unsigned long>(system.dwNumberOfProcessors), processor.c_str(),
                  wineVersion ? (std::string("Wine ") + wineVersion()).c_str() : "Windows",
                  GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    return text;
}

void Save(const std::vector<qvbench::Figure>& figures, const std::string& machine) {
    qvtest::WriteBytes("results.md", qvbench::MarkdownText(figures, machine));
    qvtest::WriteBytes("results.csv", qvbench::CsvText(figures));
}

}  // namespace

int main(int argc, char** argv) {
    qvbench::Plan plan;
    std::string only;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--quick") == 0) {
            plan.quick = true;
        } else if (std::strncmp(argv[i], "--rounds=", 9) == 0) {
            plan.rounds = std::max(1, std::atoi(argv[i] + 9));
        } else if (std::strncmp(argv[i], "--only=", 7) == 0) {
            only = std::string(",") + (argv[i] + 7) + ",";
        } else {
            std::fprintf(stderr, "usage: QVBench.exe [--quick] [--rounds=N] [--only=files,requests,growth,memory,bar,start,idle]\n");
            return 2;
        }
    }
    const std::string machine = Machine();
    struct Group {
        const char* name;
        std::function<std::vector<qvbench::Figure>()> run;
    };
    const Group groups[] = {
        {"files",
         [&] {
             std::vector<qvbench::Figure> figures = qvbench::ParameterFileFigures(plan);
             figures.push_back(qvbench::LauncherMenuFigure(plan));
             return figures;
         }},
        {"requests", [&] { return qvbench::DaemonRequestFigures(plan); }},
        {"growth", [&] { return qvbench::NoGrowthFigures(plan); }},
        {"memory", [&] { return std::vector<qvbench::Figure>{qvbench::MemoryFigure(plan)}; }},
        {"bar", [&] { return std::vector<qvbench::Figure>{qvbench::BarStartFigure(plan)}; }},
        {"start", [&] { return std::vector<qvbench::Figure>{qvbench::DaemonStartFigure(plan)}; }},
        {"idle", [&] { return qvbench::IdleFigures(plan); }},
    };
    std::vector<qvbench::Figure> figures;
    bool allMeasured = true;
    for (const Group& group : groups) {
        if (!only.empty() && only.find(std::string(",") + group.name + ",") == std::string::npos) continue;
        std::fprintf(stderr, "bench: %s ...\n", group.name);
        const DWORD start = GetTickCount();
        for (qvbench::Figure& figure : group.run()) {
            std::fprintf(stderr, "bench:   %s: %s\n", figure.name.c_str(), figure.Met().c_str());
            allMeasured = allMeasured && !figure.failed;
            figures.push_back(std::move(figure));
        }
        std::fprintf(stderr, "bench: %s took %.1f s\n", group.name, (GetTickCount() - start) / 1000.0);
        // What is measured so far survives a later group that hangs.
        Save(figures, machine);
    }
    std::printf("%s", qvbench::MarkdownText(figures, machine).c_str());
    // A missed target is a result; only a figure that could not be measured
    // fails the run.
    return allMeasured ? 0 : 1;
}
