// Storage for small objects of one size that are made and dropped in great
// numbers (value cells, list nodes): carved out of 64 KiB chunks and
// recycled through a free list, so each costs its own size and no
// allocator header. Chunks are kept for the life of the process.
//
// Sanitizer builds use the global allocator instead, so that every use
// after free is seen.
#pragma once

// GCC says so with __SANITIZE_ADDRESS__, clang through __has_feature.
#if defined(__SANITIZE_ADDRESS__)
#define SCRIPTRUN_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define SCRIPTRUN_ADDRESS_SANITIZER 1
#endif
#endif

#include <cstddef>
#include <new>
#include <vector>

template <size_t Size>
class FixedPool {
    // Slots follow one another, so each size keeps the next slot aligned.
    static_assert(Size >= sizeof(void*) && Size % alignof(void*) == 0);

public:
    static void* Take() {
#if defined(SCRIPTRUN_ADDRESS_SANITIZER)
        return ::operator new(Size);
#else
        if (free_) {
            Free* slot = free_;
            free_ = slot->next;
            return slot;
        }
        if (next_ == end_) Refill();
        void* slot = next_;
        next_ += Size;
        return slot;
#endif
    }

    static void Give(void* p) {
#if defined(SCRIPTRUN_ADDRESS_SANITIZER)
        ::operator delete(p);
#else
        auto* slot = static_cast<Free*>(p);
        slot->next = free_;
        free_ = slot;
#endif
    }

private:
    struct Free {
        Free* next;
    };
    static constexpr size_t kChunk = 65536 / Size * Size;

    static void Refill() {
        char* chunk = static_cast<char*>(::operator new(kChunk));
        Chunks().push_back(chunk);
        next_ = chunk;
        end_ = chunk + kChunk;
    }
    static std::vector<char*>& Chunks() {
        static std::vector<char*> chunks;  // keeps them reachable for leak checkers
        return chunks;
    }

    static inline Free* free_ = nullptr;
    static inline char* next_ = nullptr;
    static inline char* end_ = nullptr;
};
