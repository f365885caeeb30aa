// Our decoder (stb_image), built for the formats the image check has a rule for and nothing else,
// with an allocator that counts every buffer against the image's memory budget.
#include "render/UIDecodeBudget.h"

#include <cstdlib>
#include <cstring>

#include "render/UIImageLimits.h"

namespace ZvUI {

namespace {

thread_local UIDecodeBudget* t_budget = nullptr;

// Each block carries its size in front, so that a free can be refunded.
constexpr size_t kHead = 16;

void* BudgetMalloc(size_t size)
{
    if (size > static_cast<size_t>(kMaxImageMemory) || !UIDecodeBudget::Charge(static_cast<long long>(size + kHead)))
        return nullptr;
    auto* block = static_cast<unsigned char*>(std::malloc(size + kHead));
    if (block == nullptr) {
        UIDecodeBudget::Refund(static_cast<long long>(size + kHead));
        return nullptr;
    }
    std::memcpy(block, &size, sizeof(size));
    return block + kHead;
}

void BudgetFree(void* p)
{
    if (p == nullptr)
        return;
    unsigned char* block = static_cast<unsigned char*>(p) - kHead;
    size_t size = 0;
    std::memcpy(&size, block, sizeof(size));
    std::free(block);
    UIDecodeBudget::Refund(static_cast<long long>(size + kHead));
}

// A moving realloc holds the old and the new block at once: the new size is charged before,
// the old refunded after.
void* BudgetRealloc(void* p, size_t size)
{
    if (p == nullptr)
        return BudgetMalloc(size);
    unsigned char* block = static_cast<unsigned char*>(p) - kHead;
    size_t old = 0;
    std::memcpy(&old, block, sizeof(old));
    if (size > static_cast<size_t>(kMaxImageMemory) || !UIDecodeBudget::Charge(static_cast<long long>(size + kHead)))
        return nullptr;
    auto* moved = static_cast<unsigned char*>(std::realloc(block, size + kHead));
    if (moved == nullptr) {
        UIDecodeBudget::Refund(static_cast<long long>(size + kHead));
        return nullptr;
    }
    std::memcpy(moved, &size, sizeof(size));
    UIDecodeBudget::Refund(static_cast<long long>(old + kHead));
    return moved + kHead;
}

} // namespace

UIDecodeBudget::UIDecodeBudget() : m_outer(t_budget)
{
    t_budget = this;
}

UIDecodeBudget::~UIDecodeBudget()
{
    // Whatever is still held goes with this budget; the outer ones keep counting it.
    t_budget = m_outer;
}

bool UIDecodeBudget::Take(long long bytes)
{
    for (UIDecodeBudget* b = this; b != nullptr; b = b->m_outer) {
        if (bytes > kMaxImageMemory - b->m_held) {
            m_exhausted = true;
            b->m_exhausted = true;
            return false;
        }
    }
    for (UIDecodeBudget* b = this; b != nullptr; b = b->m_outer) {
        b->m_held += bytes;
        if (b->m_held > b->m_peak)
            b->m_peak = b->m_held;
    }
    return true;
}

void UIDecodeBudget::Release(long long bytes)
{
    for (UIDecodeBudget* b = this; b != nullptr; b = b->m_outer)
        b->m_held -= bytes;
}

bool UIDecodeBudget::Charge(long long bytes)
{
    return t_budget == nullptr || t_budget->Take(bytes);
}

void UIDecodeBudget::Refund(long long bytes)
{
    if (t_budget != nullptr)
        t_budget->Release(bytes);
}

} // namespace ZvUI

// Only what a rule in CheckImageBytes judges can be decoded: the other readers (PNM, HDR, PSD, PIC,
// TGA) took files that crashed, read pixels that were never there or spent seconds on a header.
#define STB_IMAGE_IMPLEMENTATION
#define STBI_NO_STDIO
#define STBI_ONLY_PNG
#define STBI_ONLY_JPEG
#define STBI_ONLY_GIF
#define STBI_ONLY_BMP
// Short reasons, for the log line of an image the decoder refuses.
#define STBI_FAILURE_USERMSG
#define STBI_MALLOC(size) ZvUI::BudgetMalloc(size)
#define STBI_REALLOC(p, size) ZvUI::BudgetRealloc(p, size)
#define STBI_FREE(p) ZvUI::BudgetFree(p)
#include "stb_image.h"
