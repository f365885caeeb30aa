#include "ZVInstallThread.h"

CZVInstallThread::~CZVInstallThread()
{
    Stop();
}

void CZVInstallThread::Process(UNINSTALL_INFO&)
{
}
