// The control bar's settings file (QVCtrlBar.ini) as the bar reads it (its
// controller, one desktop's panels) and as its configurator reads and
// writes it whole. The first byte picks the desktop.
#include "BarSettings.h"
#include "FuzzInput.h"

namespace {

// Answers every folder question, so that each panel kind is resolved.
class AnyFolders : public qv::FolderSource {
public:
    bool ShellFolder(bool, const char* valueName, std::string* folder) const override {
        *folder = std::string("C:\\") + valueName;
        return true;
    }
    bool MappedQuickLaunch(std::string* folder) const override {
        *folder = "C:\\Quick Launch";
        return true;
    }
    bool IsDirectory(const std::string&) const override { return true; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Bytes in(data, size);
    const int desktop = static_cast<int8_t>(in.Byte());
    {
        fuzz::MemoryFile file(in.Data(), in.Size());
        if (!file.Get()) return 0;
        qv::BarController controller;
        qv::ReadBarController(file.Get(), &controller);
    }
    {
        fuzz::MemoryFile file(in.Data(), in.Size());
        const std::vector<qv::PanelDescription> panels = qv::ReadPanelDescriptions(file.Get(), desktop);
        qv::ResolvePanels(panels, "C:\\Quorvel\\QVCtrlBar.ini", "User_Desktop0", AnyFolders());
    }
    {
        fuzz::MemoryFile file(in.Data(), in.Size());
        qv::BarDocument document;
        qv::ReadBarDocument(file.Get(), &document);
        fuzz::NullFile out;
        qv::WriteBarDocument(out.Get(), document);
    }
    return 0;
}
