#include "SetupUrls.h"

#ifndef ZV_DOWNLOAD_BASE
#error "ZV_DOWNLOAD_BASE must be defined by the build"
#endif
#ifndef ZV_AGREEMENT_BASE
#error "ZV_AGREEMENT_BASE must be defined by the build"
#endif

std::wstring GetDownloadUrl()
{
    return L"" ZV_DOWNLOAD_BASE L"/openapi/download?ch=10009&app=50001";
}

std::wstring GetAgreementUrl()
{
    return L"" ZV_AGREEMENT_BASE L"/agreement.html";
}
