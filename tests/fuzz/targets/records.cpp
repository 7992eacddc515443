// One record read from just after its header line: the first byte picks the
// controller, a desktop, a program entry, the bar's controller or a menu
// panel; then the record is written out again where it has a writer.
#include <string>

#include "AncestryController.h"
#include "AncestryDesktop.h"
#include "BarSettings.h"
#include "Executant.h"
#include "FuzzInput.h"

namespace {

std::string WithHeader(const char* header, const fuzz::Bytes& in) { return std::string(header) + " {\n" + in.Text(); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Bytes in(data, size);
    const uint8_t kind = in.Byte() % 5;
    fuzz::NullFile out;
    if (kind <= 2) {
        fuzz::MemoryFile file(in.Data(), in.Size());
        if (!file.Get()) return 0;
        if (kind == 0) {
            qv::AncestryController controller;
            if (controller.Read(file.Get()) >= 0) controller.Write(out.Get(), 0);
        } else if (kind == 1) {
            qv::AncestryDesktop desktop;
            if (desktop.Read(file.Get()) >= 0) desktop.Write(out.Get(), 1);
        } else {
            qv::Executant entry;
            if (entry.Read(file.Get()) >= 0) entry.Write(out.Get(), 2, true);
        }
        return 0;
    }
    // The bar's records are read by their file's readers, which find them
    // by their headers.
    if (kind == 3) {
        const std::string text = WithHeader(qv::kBarControllerHeader, in);
        fuzz::MemoryFile file(reinterpret_cast<const uint8_t*>(text.data()), text.size());
        qv::BarController controller;
        qv::ReadBarController(file.Get(), &controller);
    } else {
        const std::string text = std::string(qv::kBarDesktopHeader) + " {\n" + qv::kMenuPanelHeader + " {\n" + in.Text();
        fuzz::MemoryFile file(reinterpret_cast<const uint8_t*>(text.data()), text.size());
        qv::ReadPanelDescriptions(file.Get(), 0);
    }
    return 0;
}
