#pragma once
// Images kept as drawn (nine-slice composed, fade applied, at the drawn size) between paints.

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <list>
#include <unordered_map>

namespace ZvUI {

// Everything that changes the pixels of one image as drawn.
struct UIImageDrawKey {
    // The pixels drawn; not compared: the generation names them, and their colour shift.
    HBITMAP bitmap = nullptr;
    // The image record's generation (UIImageInfo); 0 is never kept.
    unsigned long long generation = 0;
    RECT source = {0, 0, 0, 0};
    RECT corner = {0, 0, 0, 0};
    int width = 0;
    int height = 0;
    // The process-wide image scale and the scale of the file drawn: together they divide the
    // corners on the source side.
    double imageScale = 1.0;
    double factor = 1.0;
    BYTE fade = 255;
    bool alpha = false;
    bool hole = false;
    bool xtiled = false;
    bool ytiled = false;

    bool operator==(const UIImageDrawKey& other) const;
};

struct UIImageDrawKeyHash {
    size_t operator()(const UIImageDrawKey& key) const;
};

// One per paint manager. A kept image is blended once, 1:1, onto the target; an opaque one is
// copied. An image whose pixels change takes a new generation, so what was kept for the old ones
// is never drawn again; the manager drops its own images' entries when it frees them, the rest go
// on Clear, and the least recently drawn go first when the memory limit would be passed.
class CUIImageDrawCache {
public:
    CUIImageDrawCache() = default;
    ~CUIImageDrawCache();
    CUIImageDrawCache(const CUIImageDrawCache&) = delete;
    CUIImageDrawCache& operator=(const CUIImageDrawCache&) = delete;

    // Draws the part of dest inside rcPaint. False: the caller draws the image directly (its
    // first draw, or an image that cannot be kept: corners that overlap, a damaged bitmap, more
    // than the limit).
    bool Draw(HDC hDC, const UIImageDrawKey& key, const RECT& dest, const RECT& rcPaint);

    void Clear();
    // Drops the entries made from one generation of an image's pixels.
    void Forget(unsigned long long generation);

    // Bytes of pixels held by the kept images.
    size_t GetMemory() const { return m_bytes; }
    size_t GetMemoryLimit() const { return m_limit; }
    // Starts afresh under the new limit; 0 keeps nothing and draws every image directly.
    void SetMemoryLimit(size_t bytes);
    int GetCount() const { return static_cast<int>(m_entries.size()); }

    static constexpr size_t kDefaultMemoryLimit = 24u * 1024u * 1024u;
    // Entries that keep no pixels (drawn from their own bitmap, or directly) count against this.
    static constexpr size_t kMaxEntries = 512;

private:
    // Pending: drawn once, directly; kept at its second draw, so that a picture shown only
    // once (a window's first paint) costs nothing more than before.
    enum class Kind { Pending, Direct, Copy, Blend };
    struct Entry {
        UIImageDrawKey key;
        Kind kind = Kind::Pending;
        // The kept pixels, or null when the image is drawn 1:1 from its own bitmap.
        HBITMAP bitmap = nullptr;
        // The pixels blitted: the kept bitmap, or the source bitmap at (originX, originY).
        HBITMAP blitSource = nullptr;
        int originX = 0;
        int originY = 0;
        // Rows of blitSource as stored (kept bitmaps are top-down).
        bool bottomUp = false;
        size_t bytes = 0;
    };
    using EntryList = std::list<Entry>;

    Entry* Find(const UIImageDrawKey& key);
    void Make(Entry& entry);
    void Erase(EntryList::iterator it);
    void EvictFor(size_t bytes);

    // Most recently drawn first.
    EntryList m_entries;
    std::unordered_map<UIImageDrawKey, EntryList::iterator, UIImageDrawKeyHash> m_index;
    size_t m_bytes = 0;
    size_t m_limit = kDefaultMemoryLimit;
};

} // namespace ZvUI
