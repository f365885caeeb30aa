#include "CommandLine.h"

#include <gtest/gtest.h>

namespace {

struct Case {
    std::wstring commandLine;
    bool silent;
    std::wstring folder;
};

} // namespace

TEST(CommandLine, SwitchesAndFolderOptions)
{
    const Case cases[] = {
        {L"", false, L""},
        {L"/S", true, L""},
        {L"/s", true, L""},
        {L"/verysilent/norestart/suppressmsgboxes", true, L""},
        {L"/VERYSILENT/NORESATRT/SUPPRESSMSGBOXES", true, L""},
        {L"/VERYSILENT/NORESTART/SUPPRESSMSGBOXES", false, L""}, // only the misspelt form is known
        {L"/silent", true, L""},
        {L"/SILENT", true, L""},
        {L"/Silent", false, L""},
        {L"/quiet", true, L""},
        {L"-instdir", true, L""},
        {L"-INSTDIR", true, L""},
        {L"/S /D=C:\\Apps", true, L"C:\\Apps"},
        {L"/dir=D:\\x", false, L"D:\\x"},
        {L"--insPath=E:\\p", false, L"E:\\p"},
        {L"--INSPATH=E:\\q", false, L"E:\\q"},
        {L"APPDIR=F:\\r", false, L"F:\\r"},
        {L"-oG:\\s", false, L"G:\\s"},
        {L"/d=lower", false, L"lower"},
        {L"/DIR=upper", false, L"upper"},
        // "-o" comes last in the list, so it wins inside the same token.
        {L"/D=C:\\my-other", false, L"ther"},
        // The rest behind the option's first occurrence.
        {L"/D=a/D=b", false, L"a/D=b"},
        // Later tokens overwrite earlier ones.
        {L"/D=first /dir=second", false, L"second"},
        // A silent switch is not searched for folder options.
        {L"-instdir", true, L""},
        {L"-instdir=C:\\x", false, L""},
        {L"/S  /quiet", true, L""},
        {L"prefix/D=C:\\z", false, L"C:\\z"},
    };
    for (const Case& c : cases) {
        const SetupCommandLine parsed = ParseSetupCommandLine(c.commandLine);
        EXPECT_EQ(parsed.silent, c.silent) << c.commandLine;
        EXPECT_EQ(parsed.folder, c.folder) << c.commandLine;
    }
}
