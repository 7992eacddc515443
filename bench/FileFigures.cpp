// The figures measured in the bench's own process on the product's readers:
// the parameter file read into records against the same file read line by
// line, and the launcher menu's scan against a bare enumeration of the tree.

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "AncestryController.h"
#include "Daemon.h"
#include "Figures.h"
#include "MenuScan.h"
#include "ParameterFile.h"
#include "PipeExchange.h"
#include "TestFiles.h"

namespace qvbench {

namespace {

// A desktop record of the kind the configurator writes, with program entries.
std::string DesktopLines(int number) {
    std::string lines = "DesktopName\tBench desktop " + std::to_string(number) +
                        "\nDesktopTitleColor\t0x00FFC080\nDesktopWavFlag\t0\nDesktopProgmanDelay\t250\n";
    for (int entry = 0; entry < 8; ++entry) {
        const std::string program = "C:\\Program Files\\Bench\\program" + std::to_string(entry);
        lines += "Executant::RingListClass\t{\nExecutionFileName\t" + program + ".exe\nExecutionArguments\t-d " +
                 std::to_string(number) + " --entry=" + std::to_string(entry) + "\nExecutionPath\t" + program +
                 "\n}\n";
    }
    return lines;
}

// A parameter file of at least size bytes; no log file is named, so reading
// it writes nothing.
std::string ParameterFileOf(size_t size) {
    std::vector<std::string> desktops;
    size_t total = 0;
    while (total < size) {
        desktops.push_back(DesktopLines(static_cast<int>(desktops.size())));
        total += desktops.back().size() + 40;
    }
    return qvtest::Crlf(qvtest::ParameterText("", "", desktops));
}

// Seconds to read the file line by line; lines receives how many.
double RawRead(const std::string& path, long* lines) {
    *lines = 0;
    const double start = Now();
    FILE* file = std::fopen(path.c_str(), "rt");
    if (!file) return -1;
    char line[1024];
    while (std::fgets(line, sizeof(line), file)) ++*lines;
    std::fclose(file);
    return Now() - start;
}

// Seconds to read the file into records, as the daemon reads it at its
// start; desktops receives how many records were made. The records are
// destroyed outside the time.
double RecordRead(const std::string& path, int* desktops) {
    *desktops = -1;
    qv::AncestryController controller;
    qv::ParameterFileHeader header;
    const double start = Now();
    FILE* file = std::fopen(path.c_str(), "rt");
    if (!file) return -1;
    const int read = qv::ReadParameterFile(file, controller, header);
    std::fclose(file);
    const double seconds = Now() - start;
    if (read == qv::kControllerRead) *desktops = controller.CountChildren();
    return seconds;
}

class NoProgress : public qv::ScanProgress {
public:
    void Entering(const std::string&) override {}
    bool Cancelled() const override { return false; }
};

// Files and folders below folder, FindFirstFile alone.
long Enumerate(const std::string& folder) {
    long count = 0;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return 0;
    do {
        if (std::strcmp(found.cFileName, ".") == 0 || std::strcmp(found.cFileName, "..") == 0) continue;
        ++count;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) count += Enumerate(folder + "\\" + found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return count;
}

size_t CountItems(const qv::MenuFolder& folder) {
    size_t count = folder.items.size();
    for (const qv::MenuFolder& below : folder.folders) count += CountItems(below);
    return count;
}

}  // namespace

std::vector<Figure> ParameterFileFigures(const Plan& plan) {
    Figure small{"parameter file 1 MB", "ms", "raw time / record time", Goal::kAtLeast, 0.3};
    Figure large{"parameter file 10 MB", "ms", "raw time / record time", Goal::kAtLeast, 0.3};
    Figure linear{"parameter file 10 MB / 1 MB", "ms", "10 MB time / 1 MB time", Goal::kAtMost, 11};
    qvtest::TempDir dir;
    const std::string smallPath = dir.File("small.ini"), largePath = dir.File("large.ini");
    const std::string smallText = ParameterFileOf(1 << 20), largeText = ParameterFileOf(10 << 20);
    qvtest::WriteBytes(smallPath, smallText);
    qvtest::WriteBytes(largePath, largeText);
    // Both readers find the file in the system's cache: a first read of each
    // before the rounds.
    long lines = 0;
    int desktops = 0;
    RawRead(smallPath, &lines);
    RawRead(largePath, &lines);
    for (int round = 0; round < plan.rounds; ++round) {
        long smallLines = 0, largeLines = 0;
        int smallDesktops = 0, largeDesktops = 0;
        const double smallRaw = RawRead(smallPath, &smallLines);
        const double smallRecords = RecordRead(smallPath, &smallDesktops);
        const double largeRaw = RawRead(largePath, &largeLines);
        const double largeRecords = RecordRead(largePath, &largeDesktops);
        if (smallRaw < 0 || smallRecords < 0 || largeRaw < 0 || largeRecords < 0 || smallDesktops <= 0 ||
            largeDesktops <= 0) {
            for (Figure* figure : {&small, &large, &linear}) {
                figure->failed = true;
                figure->note = "the file could not be read into records";
            }
            break;
        }
        desktops = largeDesktops;
        small.AddRound(smallRecords * 1000, smallRaw * 1000, smallRaw / smallRecords);
        large.AddRound(largeRecords * 1000, largeRaw * 1000, largeRaw / largeRecords);
        linear.AddRound(largeRecords * 1000, smallRecords * 1000, largeRecords / smallRecords);
    }
    char note[160];
    std::snprintf(note, sizeof(note), "%zu and %zu bytes; the larger one holds %d desktop records of 8 program entries",
                  smallText.size(), largeText.size(), desktops);
    if (!large.failed) large.note = note;
    return {small, large, linear};
}

Figure LauncherMenuFigure(const Plan& plan) {
    Figure figure{"launcher menu", "ms", "scan time / enumeration time", Goal::kAtMost, 2};
    qvtest::TempDir dir;
    const std::string top = dir.File("Menu");
    CreateDirectoryA(top.c_str(), nullptr);
    // 10 folders of 4 subfolders each: 50 folders of 20 files, programs and
    // documents.
    for (int group = 0; group < 10; ++group) {
        const std::string groupFolder = top + "\\Group" + std::to_string(group);
        CreateDirectoryA(groupFolder.c_str(), nullptr);
        std::vector<std::string> folders = {groupFolder};
        for (int sub = 0; sub < 4; ++sub) {
            folders.push_back(groupFolder + "\\Sub" + std::to_string(sub));
            CreateDirectoryA(folders.back().c_str(), nullptr);
        }
        for (const std::string& folder : folders)
            for (int file = 0; file < 20; ++file)
                qvtest::WriteBytes(folder + "\\item" + std::to_string(file) + (file % 4 == 3 ? ".ini" : ".exe"),
                                   "x");
    }
    size_t items = 0;
    long entries = 0;
    for (int round = 0; round < plan.rounds; ++round) {
        const double enumerateStart = Now();
        entries = Enumerate(top);
        const double enumerated = Now() - enumerateStart;

        NoProgress progress;
        qv::CommandIds ids;
        qv::ScanOptions options;
        const double scanStart = Now();
        qv::MenuScanner scanner(options, ids, progress);
        const qv::MenuFolder menu = scanner.ScanFolder(top, "Panel");
        const double scanned = Now() - scanStart;
        items = CountItems(menu);
        if (items == 0 || entries != 1050) {
            figure.failed = true;
            figure.note = "the tree was not scanned whole";
            return figure;
        }
        figure.AddRound(scanned * 1000, enumerated * 1000, scanned / enumerated);
    }
    figure.note = std::to_string(items) + " menu items from " + std::to_string(entries) +
                  " files and folders; the menu's items as the system button's scan makes them (the popups, "
                  "their owner-drawn items and icons are made when shown)";
    return figure;
}

}  // namespace qvbench
