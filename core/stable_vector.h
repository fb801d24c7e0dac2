#pragma once

#include <algorithm>
#include <bit>
#include <cstddef>
#include <vector>

// A growable array whose elements never move: it grows by whole chunks, so a
// pointer to an element stays valid while elements are appended (scripts hold
// such pointers). Chunks double from 64 elements up to 4096 and then stay at
// 4096, so small arrays stay small and large ones waste at most one chunk.
template <typename T>
class StableVector {
public:
    StableVector() = default;
    StableVector(const StableVector& other) { *this = other; }
    StableVector& operator=(const StableVector& other) {
        if (this == &other) return *this;
        clear();
        // Chunk by chunk: one pass that copy-constructs the elements.
        for (size_t c = 0; c < other.chunks_.size(); ++c) {
            chunks_.emplace_back();
            chunks_.back().reserve(ChunkLength(c));
            chunks_.back().assign(other.chunks_[c].begin(), other.chunks_[c].end());
            capacity_ += ChunkLength(c);
        }
        size_ = other.size_;
        return *this;
    }
    StableVector(StableVector&&) noexcept = default;
    StableVector& operator=(StableVector&&) noexcept = default;

    size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }

    T& operator[](size_t i) {
        const Slot s = Locate(i);
        return chunks_[s.chunk][s.offset];
    }
    const T& operator[](size_t i) const {
        const Slot s = Locate(i);
        return chunks_[s.chunk][s.offset];
    }

    T& push_back(const T& value) {
        if (size_ == capacity_) {
            const size_t n = ChunkLength(chunks_.size());
            chunks_.emplace_back();
            // A chunk never grows past its reserve, so it never moves.
            chunks_.back().reserve(n);
            capacity_ += n;
        }
        ++size_;
        return chunks_.back().emplace_back(value);
    }

    void clear() {
        chunks_.clear();
        size_ = capacity_ = 0;
    }

    // Calls f(element) for every element in index order, chunk by chunk.
    template <typename F>
    void ForEach(F&& f) {
        size_t done = 0;
        for (size_t c = 0; done < size_; ++c) {
            const size_t n = std::min(ChunkLength(c), size_ - done);
            T* chunk = chunks_[c].data();
            for (size_t i = 0; i < n; ++i) f(chunk[i]);
            done += n;
        }
    }
    template <typename F>
    void ForEach(F&& f) const {
        size_t done = 0;
        for (size_t c = 0; done < size_; ++c) {
            const size_t n = std::min(ChunkLength(c), size_ - done);
            const T* chunk = chunks_[c].data();
            for (size_t i = 0; i < n; ++i) f(chunk[i]);
            done += n;
        }
    }

private:
    static constexpr size_t kFirst = 64;
    static constexpr size_t kGrowingChunks = 6;                           // 64 .. 2048
    static constexpr size_t kGrowingTotal = kFirst * ((1u << kGrowingChunks) - 1);  // 4032
    static constexpr size_t kLast = kFirst << kGrowingChunks;            // 4096

    struct Slot {
        size_t chunk;
        size_t offset;
    };

    static size_t ChunkLength(size_t c) { return c < kGrowingChunks ? kFirst << c : kLast; }

    static Slot Locate(size_t i) {
        if (i < kGrowingTotal) {
            const size_t c = std::bit_width(i / kFirst + 1) - 1;
            return {c, i - kFirst * ((size_t{1} << c) - 1)};
        }
        const size_t rest = i - kGrowingTotal;
        return {kGrowingChunks + rest / kLast, rest % kLast};
    }

    std::vector<std::vector<T>> chunks_;  // each holds at most its ChunkLength
    size_t size_ = 0;
    size_t capacity_ = 0;
};
