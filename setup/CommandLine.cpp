#include "CommandLine.h"

#include "util/StringUtil.h"

namespace {

const wchar_t* const kSilentSwitches[] = {
    L"/S", L"/s", L"/verysilent/norestart/suppressmsgboxes", L"/VERYSILENT/NORESATRT/SUPPRESSMSGBOXES",
    L"/silent", L"/SILENT", L"/quiet", L"-instdir", L"-INSTDIR",
};

const wchar_t* const kFolderOptions[] = {
    L"/D=", L"/dir=", L"--insPath=", L"/d=", L"/DIR=", L"--INSPATH=", L"APPDIR=", L"-o",
};

bool IsSilentSwitch(const std::wstring& token)
{
    for (const wchar_t* silent : kSilentSwitches) {
        if (token == silent)
            return true;
    }
    return false;
}

} // namespace

SetupCommandLine ParseSetupCommandLine(const std::wstring& commandLine)
{
    SetupCommandLine result;
    for (const std::wstring& token : ZVCore::SplitString(commandLine, L' ')) {
        if (IsSilentSwitch(token)) {
            result.silent = true;
            continue;
        }
        // Later options in the list win over earlier ones found in the same token.
        for (const std::wstring option : kFolderOptions) {
            const size_t at = token.find(option);
            if (at != std::wstring::npos)
                result.folder = token.substr(at + option.size());
        }
    }
    return result;
}
