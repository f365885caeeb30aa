#pragma once
// The memory one image may take while it is decoded, counted over every buffer our decoder allocates.

namespace ZvUI {

// While one lives on a thread, every allocation our decoder makes on that thread is counted
// against it (and against the budgets it is nested in); an allocation that would take the image
// past kMaxImageMemory fails, and the decoder gives up cleanly. Buffers held outside the decoder
// (the encoded bytes, the bitmap made from the pixels) are counted with Take and Release.
class UIDecodeBudget {
public:
    UIDecodeBudget();
    UIDecodeBudget(const UIDecodeBudget&) = delete;
    UIDecodeBudget& operator=(const UIDecodeBudget&) = delete;
    ~UIDecodeBudget();

    // False, and nothing counted, when the bytes do not fit.
    [[nodiscard]] bool Take(long long bytes);
    void Release(long long bytes);
    // An allocation or a Take was refused.
    bool Exhausted() const { return m_exhausted; }
    // The most that was held at once.
    long long Peak() const { return m_peak; }

    // The decoder's allocator.
    static bool Charge(long long bytes);
    static void Refund(long long bytes);

private:
    long long m_held = 0;
    long long m_peak = 0;
    bool m_exhausted = false;
    UIDecodeBudget* m_outer = nullptr;
};

} // namespace ZvUI
