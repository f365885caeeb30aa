#pragma once
// Frame-counted animations that run on the owner control's paint-manager timers.

#include <vector>

namespace ZvUI {

class CControlUI;

// One animation per id; the id is also the owner's timer id.
class IUIAnimation {
public:
    virtual ~IUIAnimation() = default;

    // False when the id runs already, a time is not positive, no timer can be had, or the
    // owner cannot be seen (hidden itself or by an ancestor).
    [[nodiscard]] virtual bool BeginAnimation(int elapse, int totalFrames, int id = 0, bool loop = false) = 0;
    // Id 0 ends every running animation.
    virtual void EndAnimation(int id = 0) = 0;
    virtual bool IsAnimating(int id) const = 0;
    // -1 when the id does not run.
    virtual int GetFrameIndex(int id) const = 0;
    virtual bool SetFrameIndex(int frame, int id) = 0;

    virtual void OnAnimationFrame(int totalFrames, int currentFrame, int id) = 0;
    virtual void OnAnimationBegin(int id, bool first) = 0;
    virtual void OnAnimationEnd(int id) = 0;
    // One step; the owner calls it for every timer event it receives.
    virtual void OnAnimationTick(int id) = 0;
};

// Second base of controls that animate. A deriving control calls EndAnimation(0) in its own
// destructor: by the time this base is destroyed the owner is no longer whole.
class CUIAnimation : public IUIAnimation {
public:
    CUIAnimation() = default;
    explicit CUIAnimation(CControlUI* owner) : m_pOwner(owner) {}
    CUIAnimation(const CUIAnimation&) = delete;
    CUIAnimation& operator=(const CUIAnimation&) = delete;
    ~CUIAnimation() override = default;

    void SetOwner(CControlUI* owner) { m_pOwner = owner; }
    CControlUI* GetOwner() const { return m_pOwner; }

    [[nodiscard]] bool BeginAnimation(int elapse, int totalFrames, int id = 0, bool loop = false) override;
    void EndAnimation(int id = 0) override;
    bool IsAnimating(int id) const override;
    int GetFrameIndex(int id) const override;
    bool SetFrameIndex(int frame, int id) override;

    void OnAnimationFrame(int /*totalFrames*/, int /*currentFrame*/, int /*id*/) override {}
    void OnAnimationBegin(int /*id*/, bool /*first*/) override {}
    void OnAnimationEnd(int /*id*/) override {}
    void OnAnimationTick(int id) override;

private:
    struct AnimationRecord {
        int id = 0;
        int elapse = 0;
        int totalFrames = 0;
        int currentFrame = 0;
        bool loop = false;
        bool first = true;
        // Tells a record apart from a later one of the same id started inside a hook.
        unsigned serial = 0;
    };

    AnimationRecord* Find(int id);
    const AnimationRecord* Find(int id) const;
    // The record of id when it is still the one with this serial.
    AnimationRecord* FindCurrent(int id, unsigned serial);
    void Remove(int id);
    bool HasManager() const;

    CControlUI* m_pOwner = nullptr;
    std::vector<AnimationRecord> m_records;
    unsigned m_nextSerial = 1;
};

} // namespace ZvUI
