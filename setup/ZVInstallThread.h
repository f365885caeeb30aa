// The main frame's idle work queue and its work item.
#pragma once

#include "ZVThread.h"

#include <functional>
#include <string>

struct UNINSTALL_INFO {
    std::wstring first;
    std::wstring second;
    std::function<void()> callback;
};

// Nothing is queued to it in the setup program; an item taken from the queue is dropped.
class CZVInstallThread : public CZVThread<UNINSTALL_INFO> {
public:
    CZVInstallThread() = default;
    ~CZVInstallThread() override;

protected:
    void Process(UNINSTALL_INFO& item) override;
};
