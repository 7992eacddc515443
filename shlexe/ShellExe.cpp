// ShellExe: the release medium's document opener. The first setup's trial
// run starts it on the first-steps help and waits for it, so it opens its
// one document with the shell and ends at once. Exit code: 0 when the shell
// took the document, else the system error it gave (ERROR_INVALID_PARAMETER
// when no document was named).

#include <windows.h>

#include <string>

#include "ShellOpen.h"
#include "ShlExeCommand.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int showCommand) {
    const std::string document = qv::ShellExeDocument(commandLine);
    if (document.empty()) return ERROR_INVALID_PARAMETER;
    return static_cast<int>(qv::OpenWithShell(document.c_str(), nullptr, showCommand));
}
