#pragma once
// What the two setup programs decide without a window: the medium's files,
// the folders they go to, the default parameter file made for the install
// folder, the removal texts, the shortcuts, and QVSetup's command line.

#include <string>
#include <vector>

namespace qvsetup {

inline constexpr char kVendorFolder[] = "Lumarch";
inline constexpr char kProductFolder[] = "Quorvel";
inline constexpr char kDefaultMenu[] = "Quorvel";
inline constexpr char kDemoFolder[] = "DEMOCNTS";
inline constexpr char kFirstExecHelp[] = "DEMOCNTS\\FirstExec.chm";

// A file of the medium and the subfolder of the install folder it goes to
// ("" for the install folder itself).
struct MediumFile {
    const char* name;
    const char* subfolder;
};

// The files the install needs; a missing one is reported. The demonstration
// folder's further pages are copied as they are found.
const std::vector<MediumFile>& MediumFiles();
// The folders made under the install folder, in order.
const std::vector<const char*>& InstallSubfolders();

// Joins with one backslash, however a ends.
std::string JoinPath(const std::string& a, const std::string& b);
// Drive-qualified ("C:..."), rooted ("\..." or "/...") or UNC.
bool IsAbsolutePath(const std::string& path);

// Where the first setup installs: an administrator's Program Files (from
// ProgramFiles, else SystemDrive, else the system folder's drive), another
// user's system drive; then the vendor and product folders.
std::string DefaultInstallFolder(bool administrator, const std::string& programFiles, const std::string& systemDrive,
                                 const std::string& systemFolder);
// The user's parameter folder: under AppData when it is known, else under
// the profile's "Application Data".
std::string DefaultParameterFolder(const std::string& appData, const std::string& profile);

// The medium's Quorvel.ini, as lines read by the parameter files' reader,
// rewritten for the install folder: each line re-indented by its nesting,
// and the sound files and program folders that are relative put under the
// install folder. The result has "\n" line ends (written in text mode).
std::string RewriteDefaultParameters(const std::vector<std::string>& lines, const std::string& installFolder);

// "uninst.txt": the commands that remove the installed files, then those for
// the start-menu folders once they are made.
std::string UninstallText(const std::string& installFolder);
std::string UninstallMenuText(bool allUsers, const std::string& commonPrograms, const std::string& userPrograms,
                              const std::string& menu);
// "user_uninst.txt", and what QVSetup appends once the shortcuts are made.
std::string UserUninstallText(const std::string& parameterFolder);
std::string UserUninstallMenuText(const std::string& programs, const std::string& startup, const std::string& menu);

// QVSetup's command line: options separated by tabs.
struct AccountOptions {
    bool autoContinue = false;
    std::string menu = kDefaultMenu;
};
AccountOptions ParseAccountCommandLine(const std::string& line);
// The first setup's hand-over to QVSetup.
std::string HandOverCommandLine(const std::string& menu);

// The question when QVSetup is started by hand beside setup.exe.
std::string OrderQuestion(const std::string& currentFolder);

// One shortcut to make.
struct LinkSpec {
    std::string path;  // the .lnk file
    std::string target;
    std::string arguments;
    std::string workingFolder;
    std::string description;
};

// The first setup's links into the chosen menu folder (with its document
// subfolder), and the removal text's link alone into the user's one.
std::vector<LinkSpec> FirstSetupLinks(const std::string& installFolder, const std::string& menuFolder);
LinkSpec UserRemovalLink(const std::string& installFolder, const std::string& userMenuFolder);
// QVSetup's links into the user's menu folder, and its start-up link.
std::vector<LinkSpec> AccountLinks(const std::string& installFolder, const std::string& parameterFolder,
                                   const std::string& menuFolder);
LinkSpec StartupLink(const std::string& installFolder, const std::string& parameterFolder,
                     const std::string& startupFolder);
// The subfolders of a menu folder that the links above go into.
inline constexpr char kDocumentsSubfolder[] = "補足説明ﾄﾞｷｭﾒﾝﾄ";
inline constexpr char kCompanionsSubfolder[] = "Quorvelの仲間たち";

}  // namespace qvsetup
