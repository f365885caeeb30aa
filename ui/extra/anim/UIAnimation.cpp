// Timer animation: records per id, their owner's timers and the step that calls the hooks.
#include "anim/UIAnimation.h"

#include "control/ControlUI.h"
#include "manager/PaintManagerUI.h"

namespace ZvUI {

bool CUIAnimation::HasManager() const
{
    return m_pOwner != nullptr && m_pOwner->GetManager() != nullptr;
}

CUIAnimation::AnimationRecord* CUIAnimation::Find(int id)
{
    for (AnimationRecord& record : m_records) {
        if (record.id == id)
            return &record;
    }
    return nullptr;
}

const CUIAnimation::AnimationRecord* CUIAnimation::Find(int id) const
{
    for (const AnimationRecord& record : m_records) {
        if (record.id == id)
            return &record;
    }
    return nullptr;
}

CUIAnimation::AnimationRecord* CUIAnimation::FindCurrent(int id, unsigned serial)
{
    AnimationRecord* record = Find(id);
    return record != nullptr && record->serial == serial ? record : nullptr;
}

void CUIAnimation::Remove(int id)
{
    for (auto it = m_records.begin(); it != m_records.end(); ++it) {
        if (it->id == id) {
            m_records.erase(it);
            return;
        }
    }
}

bool CUIAnimation::BeginAnimation(int elapse, int totalFrames, int id, bool loop)
{
    if (Find(id) != nullptr || elapse <= 0 || totalFrames <= 0 || !HasManager() || !m_pOwner->IsVisible())
        return false;
    if (!m_pOwner->GetManager()->SetTimer(m_pOwner, static_cast<UINT>(id), static_cast<UINT>(elapse)))
        return false;
    AnimationRecord record;
    record.id = id;
    record.elapse = elapse;
    record.totalFrames = totalFrames;
    record.loop = loop;
    record.serial = m_nextSerial++;
    m_records.push_back(record);
    return true;
}

void CUIAnimation::EndAnimation(int id)
{
    if (m_pOwner == nullptr)
        return;
    // Without a manager there is no timer left to stop, but the records still go: an
    // animation that can never tick again must not report itself as running.
    CPaintManagerUI* manager = m_pOwner->GetManager();
    if (id != 0) {
        if (Find(id) == nullptr)
            return;
        if (manager != nullptr)
            manager->KillTimer(m_pOwner, static_cast<UINT>(id));
        Remove(id);
        return;
    }
    if (manager != nullptr) {
        for (const AnimationRecord& record : m_records)
            manager->KillTimer(m_pOwner, static_cast<UINT>(record.id));
    }
    m_records.clear();
}

bool CUIAnimation::IsAnimating(int id) const
{
    return Find(id) != nullptr;
}

int CUIAnimation::GetFrameIndex(int id) const
{
    const AnimationRecord* record = Find(id);
    return record != nullptr ? record->currentFrame : -1;
}

bool CUIAnimation::SetFrameIndex(int frame, int id)
{
    AnimationRecord* record = Find(id);
    if (record == nullptr || frame < 0 || frame > record->totalFrames)
        return false;
    record->currentFrame = frame;
    return true;
}

void CUIAnimation::OnAnimationTick(int id)
{
    if (!HasManager())
        return;
    AnimationRecord* record = Find(id);
    if (record == nullptr)
        return;
    // The hooks may end or restart animations, which moves or replaces records: look the
    // record up again after each one and stop when it is gone or was replaced.
    const unsigned serial = record->serial;
    const int frame = record->currentFrame;
    const int total = record->totalFrames;
    if (frame == 0) {
        const bool first = record->first;
        record->first = false;
        OnAnimationBegin(id, first);
        if (FindCurrent(id, serial) == nullptr)
            return;
    }
    OnAnimationFrame(total, frame, id);
    record = FindCurrent(id, serial);
    if (record == nullptr)
        return;
    if (frame >= total) {
        OnAnimationEnd(id);
        record = FindCurrent(id, serial);
        if (record == nullptr)
            return;
        if (!record->loop) {
            if (m_pOwner->GetManager() != nullptr)
                m_pOwner->GetManager()->KillTimer(m_pOwner, static_cast<UINT>(id));
            Remove(id);
            return;
        }
        record->currentFrame = 0;
    }
    ++record->currentFrame;
}

} // namespace ZvUI
