#include "SetupRules.h"

#include <cstring>

#include "ParamLine.h"

namespace qvsetup {

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

std::string Tabs(int count) { return std::string(count > 0 ? static_cast<size_t>(count) : 0, '\t'); }

// The key whose value is a path under the install folder, by nesting level:
// the controller's, a desktop's and a program entry's.
const char* PathKeyAt(int level) {
    switch (level) {
    case 1: return "WavFile";
    case 2: return "DesktopWavFile";
    case 3: return "ExecutionPath";
    default: return nullptr;
    }
}

struct LinkRow {
    const char* name;
    const char* file;
    const char* parameterFile;  // null: no arguments
    const char* description;
};

const LinkRow kDocumentLinks[] = {
    {"(管理者)最終削除手順.txt", "uninst.txt", nullptr, "Quorvel 削除手順（管理者用)"},
    {"1) Quorvelとは", "setup1.txt", nullptr, "Quorvel ｾｯﾄｱｯﾌﾟﾄﾞｷｭﾒﾝﾄ(1/5)"},
    {"2) ｾｯﾄｱｯﾌﾟについて", "setup2.txt", nullptr, "Quorvel ｾｯﾄｱｯﾌﾟﾄﾞｷｭﾒﾝﾄ(2/5)"},
    {"3) 対応環境", "setup3.txt", nullptr, "Quorvel ｾｯﾄｱｯﾌﾟﾄﾞｷｭﾒﾝﾄ(3/5)"},
    {"4) 削除(概要)", "setup4.txt", nullptr, "Quorvel ｾｯﾄｱｯﾌﾟﾄﾞｷｭﾒﾝﾄ(4/5)"},
    {"5) ﾄﾗﾌﾞﾙ時には", "setup5.txt", nullptr, "Quorvel ｾｯﾄｱｯﾌﾟﾄﾞｷｭﾒﾝﾄ(5/5)"},
};

const LinkRow kMenuLinks[] = {
    {"Quorvel(本体)", "Quorvel.exe", "Quorvel.ini", "ﾏﾙﾁﾌﾟﾙ･ﾃﾞｽｸﾄｯﾌﾟｽｲｯﾁｬ(本体)"},
    {"ﾃﾞｽｸﾄｯﾌﾟ設定", "QVConfig.exe", "Quorvel.ini", "ﾏﾙﾁﾌﾟﾙ･ﾃﾞｽｸﾄｯﾌﾟｽｲｯﾁｬ(設定)"},
    {"ﾍﾙﾌﾟﾌｧｲﾙ", "Lumarch.chm", nullptr, "Lumarch 全体のﾍﾙﾌﾟ"},
};

const LinkRow kCompanionLinks[] = {
    {"制御ﾊﾞｰ ", "QVCtrlBar.exe", "QVCtrlBar.ini", "Quorvel 制御バー(本体)"},
    {"制御ﾊﾞｰ (設定)", "QVBarConfig.exe", "QVCtrlBar.ini", "Quorvel r制御バー(設定)"},
    {"Mendrel", "Mendrel.exe", nullptr, "Mendrel"},
    {"Mendrel ﾘﾌｧﾚﾝｽ", "Mendrel.chm", nullptr, "Mendrel ﾍﾙﾌﾟ"},
    {"QV ﾋﾞｭｰｱ", "QVViewer.exe", nullptr, "Quorvel ﾃﾞｽｸﾄｯﾌﾟ ﾋﾞｭｰｱ"},
    {"QV ﾀｽｸｽｲｯﾁｬ", "QVTaskSwitch.exe", nullptr, "Quorvel ﾀｽｸ切替"},
};

bool EndsWithChm(const char* name) {
    const size_t length = std::strlen(name);
    return length >= 4 && _strnicmp(name + length - 4, ".chm", 4) == 0;
}

std::string OnParameterFile(const std::string& parameterFolder, const char* file) {
    return "-p \"" + JoinPath(parameterFolder, file) + "\"";
}

LinkSpec ProgramLink(const LinkRow& row, const std::string& bin, const std::string& parameterFolder,
                     const std::string& folder) {
    return LinkSpec{JoinPath(folder, std::string(row.name) + ".lnk"), JoinPath(bin, row.file),
                    row.parameterFile ? OnParameterFile(parameterFolder, row.parameterFile) : std::string(),
                    EndsWithChm(row.file) ? bin : parameterFolder, row.description};
}

LinkSpec DocumentLink(const LinkRow& row, const std::string& installFolder, const std::string& menuFolder) {
    const std::string doc = JoinPath(installFolder, "DOC");
    return LinkSpec{JoinPath(JoinPath(menuFolder, kDocumentsSubfolder), std::string(row.name) + ".lnk"),
                    JoinPath(doc, row.file), std::string(), doc, row.description};
}

}  // namespace

const std::vector<MediumFile>& MediumFiles() {
    static const std::vector<MediumFile> files = {
        {"Quorvel.exe", "bin"},      {"QVConfig.exe", "bin"},     {"QVCtrlBar.exe", "bin"},
        {"QVBarConfig.exe", "bin"},  {"Mendrel.exe", "bin"},      {"QVTaskSwitch.exe", "bin"},
        {"QVViewer.exe", "bin"},     {"QVShlExe.exe", "bin"},     {"QVCtl.exe", "bin"},
        {"Lumarch.chm", "bin"},      {"Mendrel.chm", "bin"},      {"QVSetup.exe", ""},
        {"readme.txt", "DOC"},       {"setup1.txt", "DOC"},       {"setup2.txt", "DOC"},
        {"setup3.txt", "DOC"},       {"setup4.txt", "DOC"},       {"setup5.txt", "DOC"},
        {"FirstExec.chm", kDemoFolder}, {"C.wav", kDemoFolder},   {"F.wav", kDemoFolder},
        {"G7.wav", kDemoFolder},     {"E9.wav", kDemoFolder},     {"Csus4.wav", kDemoFolder},
    };
    return files;
}

const std::vector<const char*>& InstallSubfolders() {
    static const std::vector<const char*> folders = {"DEFAULT", "DOC", kDemoFolder, "bin"};
    return folders;
}

std::string JoinPath(const std::string& a, const std::string& b) {
    if (a.empty()) return b;
    return IsSeparator(a.back()) ? a + b : a + "\\" + b;
}

bool IsAbsolutePath(const std::string& path) {
    if (path.empty()) return false;
    if (IsSeparator(path[0])) return true;
    const unsigned char drive = static_cast<unsigned char>(path[0]);
    return path.size() >= 2 && path[1] == ':' && ((drive | 0x20) >= 'a' && (drive | 0x20) <= 'z');
}

std::string DefaultInstallFolder(bool administrator, const std::string& programFiles, const std::string& systemDrive,
                                 const std::string& systemFolder) {
    const std::string systemFolderDrive = systemFolder.substr(0, 2);
    std::string base;
    if (!administrator) {
        base = systemDrive.empty() ? systemFolderDrive : systemDrive;
    } else if (!programFiles.empty()) {
        base = programFiles;
    } else {
        base = (systemDrive.empty() ? systemFolderDrive : systemDrive) + "\\Program Files";
    }
    return JoinPath(JoinPath(base, kVendorFolder), kProductFolder);
}

std::string DefaultParameterFolder(const std::string& appData, const std::string& profile) {
    const std::string base = appData.empty() ? JoinPath(profile, "Application Data") : appData;
    return JoinPath(JoinPath(base, kVendorFolder), kProductFolder);
}

std::string RewriteDefaultParameters(const std::vector<std::string>& lines, const std::string& installFolder) {
    std::string out;
    int level = 0;
    for (const std::string& original : lines) {
        if (qv::IsCommentLine(original.c_str())) {
            out += original;
            continue;
        }
        std::vector<char> line(original.begin(), original.end());
        line.push_back('\0');
        char* keyword = nullptr;
        char* value = nullptr;
        qv::SplitLine(line.data(), &keyword, &value);
        const std::string key(keyword);
        std::string text(value);
        const char* pathKey = PathKeyAt(level);
        // A value that already names a place of its own is kept; so is an
        // empty one, which means "none" rather than the install folder.
        if (pathKey && key == pathKey && !text.empty() && !IsAbsolutePath(text)) text = JoinPath(installFolder, text);
        out += Tabs(level) + key + "\t" + text + "\n";
        if (text == "{") ++level;
        if ((key == "}" || text == "}") && level > 0) --level;
    }
    return out;
}

std::string UninstallText(const std::string& installFolder) {
    return "■　Quorvel ﾌｧｲﾙ実体　削除手順　■\n"
           "\n"
           "以下のコマンド群を参考にして下さい.\n"
           "\n"
           "CD /D %TEMP%\n"
           "REM　Quorvelファイル実体とAll Userｼｮｰﾄｶｯﾄとの削除\n"
           "Del /F /S \"" +
           installFolder + "\"\n";
}

std::string UninstallMenuText(bool allUsers, const std::string& commonPrograms, const std::string& userPrograms,
                              const std::string& menu) {
    std::string text;
    if (allUsers)
        text += "REM　All Userのｽﾀｰﾄﾒﾆｭｰからの削除（ﾄﾞｷｭﾒﾝﾄ+ｱｶｳﾝﾄ別ｾｯﾄｱｯﾌﾟ)\n"
                "Del /F /S \"" +
                commonPrograms + "\\" + menu + "\"\n";
    text += "REM　ﾕｰｻﾞのｽﾀｰﾄﾒﾆｭｰからの削除（最終削除手順)\n"
            "Del /F /S \"" +
            userPrograms + "\\" + menu + "\"\n\n";
    return text;
}

std::string UserUninstallText(const std::string& parameterFolder) {
    return "■　Quorvel アカウント別環境　削除手順　■\n"
           "\n"
           "以下のコマンド群を参考にして下さい.\n"
           "\n"
           "CD /D %TEMP%\n"
           "REM ﾊﾟﾗﾒｰﾀﾌｧｲﾙ群の削除\n"
           "Del /F /S \"" +
           parameterFolder + "\"\n";
}

std::string UserUninstallMenuText(const std::string& programs, const std::string& startup, const std::string& menu) {
    return "REM ｽﾀｰﾄﾒﾆｭｰ(User)からの削除\n"
           "Del /F /S \"" +
           programs + "\\" + menu +
           "\"\n"
           "REM ｽﾀｰﾄｱｯﾌﾟ(User)からの削除\n"
           "Del /F \"" +
           startup + "\\Quorvel.lnk\"\n";
}

AccountOptions ParseAccountCommandLine(const std::string& line) {
    static constexpr char kAuto[] = "/AutoContinue";
    static constexpr char kMenu[] = "/DefaultMenu:";
    AccountOptions options;
    size_t start = 0;
    while (start <= line.size()) {
        size_t end = line.find('\t', start);
        if (end == std::string::npos) end = line.size();
        // A blank before the first option is the command line's, not the option's.
        std::string option = line.substr(start, end - start);
        const size_t first = option.find_first_not_of(' ');
        option = first == std::string::npos ? std::string() : option.substr(first);
        if (option == kAuto) {
            options.autoContinue = true;
        } else if (option.compare(0, sizeof kMenu - 1, kMenu) == 0) {
            // A menu name may hold blanks: only a tab ends it.
            options.menu = option.substr(sizeof kMenu - 1);
            if (options.menu.empty()) options.menu = kDefaultMenu;
        }
        start = end + 1;
    }
    return options;
}

std::string HandOverCommandLine(const std::string& menu) { return "/AutoContinue\t/DefaultMenu:" + menu; }

std::string OrderQuestion(const std::string& currentFolder) {
    return "これは「アカウント別セットアップ(QVSetup.exe)」ですが、カレント\r\n" + currentFolder +
           "\r\n"
           "に、SETUP.EXE があります。起動順番が誤っていると思われます。\r\n"
           "\r\n"
           "まだ、SETUP.EXEを実行していない場合には、「はい」を選んで下さい。\r\n"
           "「いいえ」選ぶとｾｯﾄｱｯﾌﾟを終了します。\r\n"
           "\r\n SETUP.EXE の方を起動しますか？";
}

std::vector<LinkSpec> FirstSetupLinks(const std::string& installFolder, const std::string& menuFolder) {
    std::vector<LinkSpec> links;
    links.push_back(LinkSpec{JoinPath(menuFolder, "ｱｶｳﾝﾄ別ｾｯﾄｱｯﾌﾟ.lnk"), JoinPath(installFolder, "QVSetup.exe"),
                             std::string(), installFolder, "ｱｶｳﾝﾄ別ｾｯﾄｱｯﾌﾟ"});
    for (const LinkRow& row : kDocumentLinks) links.push_back(DocumentLink(row, installFolder, menuFolder));
    return links;
}

LinkSpec UserRemovalLink(const std::string& installFolder, const std::string& userMenuFolder) {
    return DocumentLink(kDocumentLinks[0], installFolder, userMenuFolder);
}

std::vector<LinkSpec> AccountLinks(const std::string& installFolder, const std::string& parameterFolder,
                                   const std::string& menuFolder) {
    const std::string bin = JoinPath(installFolder, "bin");
    std::vector<LinkSpec> links;
    for (const LinkRow& row : kMenuLinks) links.push_back(ProgramLink(row, bin, parameterFolder, menuFolder));
    const std::string companions = JoinPath(menuFolder, kCompanionsSubfolder);
    for (const LinkRow& row : kCompanionLinks) links.push_back(ProgramLink(row, bin, parameterFolder, companions));
    links.push_back(LinkSpec{JoinPath(JoinPath(menuFolder, kDocumentsSubfolder), "ｱｶｳﾝﾄ環境 削除手順.lnk"),
                             JoinPath(parameterFolder, "user_uninst.txt"), std::string(), installFolder,
                             "ﾕｰｻﾞ環境削除手順"});
    return links;
}

LinkSpec StartupLink(const std::string& installFolder, const std::string& parameterFolder,
                     const std::string& startupFolder) {
    return LinkSpec{JoinPath(startupFolder, "Quorvel.lnk"), JoinPath(JoinPath(installFolder, "bin"), "Quorvel.exe"),
                    OnParameterFile(parameterFolder, "Quorvel.ini"), parameterFolder, "Quorvel ｽﾀｰﾄｱｯﾌﾟ起動"};
}

}  // namespace qvsetup
