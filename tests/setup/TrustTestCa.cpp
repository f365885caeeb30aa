// Test helper: trusts a CA certificate (DER file) in the local machine's Root store of the Wine test prefix.
#include <windows.h>
#include <wincrypt.h>

#include <cstdio>
#include <vector>

int main(int argc, char** argv)
{
    if (argc != 2)
        return 2;
    FILE* file = std::fopen(argv[1], "rb");
    if (!file)
        return 3;
    std::vector<BYTE> der;
    BYTE chunk[4096];
    for (size_t n; (n = std::fread(chunk, 1, sizeof(chunk), file)) > 0;)
        der.insert(der.end(), chunk, chunk + n);
    std::fclose(file);

    HCERTSTORE store = CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, CERT_SYSTEM_STORE_LOCAL_MACHINE, L"Root");
    if (!store)
        return 4;
    const BOOL added = CertAddEncodedCertificateToStore(store, X509_ASN_ENCODING, der.data(),
                                                        static_cast<DWORD>(der.size()),
                                                        CERT_STORE_ADD_REPLACE_EXISTING, nullptr);
    CertCloseStore(store, 0);
    return added ? 0 : 5;
}
