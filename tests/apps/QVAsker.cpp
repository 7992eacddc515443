// Asks the daemon's thread window on this program's desktop the Information
// and the snapshot questions, one after the other, many times, as a viewer
// or a bar does, and checks that every reply is well formed and is the reply
// to its own question. Two of these at once show whether askers take turns.
//
//   QVAsker.exe <report> <rounds> <desktops> <width> <height>
//
// desktops is the count every Information reply must announce; width and
// height the shape of the snapshot. Writes the first fault, or how many
// rounds were right, to the report file; exit code 0 when every reply was
// right, 1 when one was not, 2 on a wrong command line. A GUI program: a
// console window would be one more application on the daemon's desktop.

#include <windows.h>

#include <cstdlib>

#include "Log.h"
#include "PipeClient.h"

namespace {

int Ask(const char* report, int rounds, uint32_t desktops, int32_t width, int32_t height) {
    qv::PipeClient client;
    for (int round = 0; round < rounds; ++round) {
        qv::DesktopInformation info;
        qv::QueryResult result = client.AskInformation(&info);
        if (result != qv::QueryResult::kOk || info.count != desktops || info.desktops.size() != desktops) {
            qv::AppendToLogFile(report, "round %d: Information result %d, count %u, records %u\n", round,
                                static_cast<int>(result), static_cast<unsigned>(info.count),
                                static_cast<unsigned>(info.desktops.size()));
            return 1;
        }
        qv::BitmapLines lines;
        int32_t linesRead = 0;
        result = client.AskBitmap(lines, &linesRead);
        if (result != qv::QueryResult::kOk || lines.shape.width != width || lines.shape.height != height ||
            linesRead != height) {
            qv::AppendToLogFile(report, "round %d: bitmap result %d, %dx%d, %d lines\n", round,
                                static_cast<int>(result), static_cast<int>(lines.shape.width),
                                static_cast<int>(lines.shape.height), static_cast<int>(linesRead));
            return 1;
        }
    }
    qv::AppendToLogFile(report, "%d rounds right\n", rounds);
    return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    if (__argc != 6) return 2;
    return Ask(__argv[1], std::atoi(__argv[2]), static_cast<uint32_t>(std::atoi(__argv[3])), std::atoi(__argv[4]),
               std::atoi(__argv[5]));
}
