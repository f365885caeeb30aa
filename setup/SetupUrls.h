// The fixed web addresses of the setup program, taken from the build settings.
#pragma once

#include <string>

// ZV_DOWNLOAD_BASE + "/openapi/download?ch=10009&app=50001".
[[nodiscard]] std::wstring GetDownloadUrl();
// ZV_AGREEMENT_BASE + "/agreement.html".
[[nodiscard]] std::wstring GetAgreementUrl();
