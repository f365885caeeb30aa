// The event-sink mix-in of the setup program's windows and pages: events travel up a chain.
#pragma once

#include <functional>
#include <memory>
#include <utility>

// Event codes raised along the chain; the main frame at its top handles them.
enum ZvEventCode : int {
    kZvEventRepost = 1,      // re-raise the argument as a code on the UI thread
    kZvEventShowPage = 64,   // select wizard page <argument>
    kZvEventInstall = 65,    // start the download
    kZvEventPageAction = 66, // page 2's action
};

class ZvBase {
public:
    using Callback = std::function<void()>;

    ZvBase() = default;
    ZvBase(const ZvBase&) = delete;
    ZvBase& operator=(const ZvBase&) = delete;

    virtual ~ZvBase()
    {
        if (m_destroyCallback)
            m_destroyCallback();
        m_destroyCallback = nullptr;
        m_auxCallback = nullptr;
        m_nextSink.reset();
    }

    // The base ignores every code.
    virtual void OnEvent(int /*code*/, int /*argument*/, int /*extra*/) {}
    // Runs when this object is destroyed.
    virtual void SetDestroyCallback(Callback callback) { m_destroyCallback = std::move(callback); }
    // Kept for the owner; nothing here calls it.
    virtual void SetAuxCallback(Callback callback) { m_auxCallback = std::move(callback); }

    // The sink is borrowed: the chain never owns the object above it.
    void SetNextSink(ZvBase* sink) { m_nextSink = std::shared_ptr<ZvBase>(sink, [](ZvBase*) {}); }
    [[nodiscard]] ZvBase* GetNextSink() const { return m_nextSink.get(); }
    void SetUserValue(int value) { m_userValue = value; }
    [[nodiscard]] int GetUserValue() const { return m_userValue; }

    // To the next sink when there is one, otherwise to this object itself.
    void RaiseEvent(int code, int argument)
    {
        ZvBase* target = m_nextSink ? m_nextSink.get() : this;
        target->OnEvent(code, argument, 0);
    }

private:
    std::shared_ptr<ZvBase> m_nextSink;
    Callback m_destroyCallback;
    Callback m_auxCallback;
    int m_userValue = 0;
};
