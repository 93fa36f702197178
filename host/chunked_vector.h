// A growing sequence stored in fixed chunks: appending never moves what is
// already stored, so references stay valid and a frame of millions of
// objects grows without copying itself over and over. A chunk's memory is
// first written when its elements are made, not when the chunk is taken, and
// comes in huge pages where the system has them: on a virtual machine every
// page fault is dear, and a large import fills hundreds of megabytes.
#pragma once

#include <sys/mman.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <new>
#include <type_traits>
#include <vector>

namespace orvhost {

// Chunks of 4 MiB, on 2 MiB boundaries.
inline constexpr size_t kChunkBytes = size_t{4} << 20;
inline constexpr size_t kHugePageBytes = size_t{2} << 20;

// Takes a chunk of kChunkBytes from the heap, aligned for huge pages; throws
// std::bad_alloc when the system has no memory left. (Heap memory rather
// than a private mapping, so that a leak checker sees what the elements
// point to.)
inline void* takeChunk() {
  void* chunk = std::aligned_alloc(kHugePageBytes, kChunkBytes);
  if (chunk == nullptr) throw std::bad_alloc();
  ::madvise(chunk, kChunkBytes, MADV_HUGEPAGE);
  return chunk;
}

inline void releaseChunk(void* chunk) { std::free(chunk); }

template <class T>
class ChunkedVector {
 public:
  static constexpr size_t kChunk = kChunkBytes / sizeof(T);

  using value_type = T;
  using size_type = size_t;
  using reference = T&;
  using const_reference = const T&;

  template <bool kConst>
  class Iterator {
   public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = T;
    using difference_type = std::ptrdiff_t;
    using pointer = std::conditional_t<kConst, const T*, T*>;
    using reference = std::conditional_t<kConst, const T&, T&>;
    using Owner = std::conditional_t<kConst, const ChunkedVector*, ChunkedVector*>;

    Iterator(Owner owner, size_t index) : owner_(owner), index_(index) {}
    reference operator*() const { return (*owner_)[index_]; }
    pointer operator->() const { return &(*owner_)[index_]; }
    Iterator& operator++() {
      ++index_;
      return *this;
    }
    Iterator operator++(int) {
      Iterator before = *this;
      ++index_;
      return before;
    }
    bool operator==(const Iterator& other) const { return index_ == other.index_; }
    bool operator!=(const Iterator& other) const { return index_ != other.index_; }

   private:
    Owner owner_;
    size_t index_;
  };
  using iterator = Iterator<false>;
  using const_iterator = Iterator<true>;

  ChunkedVector() = default;
  ChunkedVector(const ChunkedVector&) = delete;
  ChunkedVector& operator=(const ChunkedVector&) = delete;
  ~ChunkedVector() { clear(); }

  size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  T& operator[](size_t index) { return *std::launder(slot(index)); }
  const T& operator[](size_t index) const { return *std::launder(const_cast<ChunkedVector*>(this)->slot(index)); }
  T& back() { return (*this)[size_ - 1]; }
  const T& back() const { return (*this)[size_ - 1]; }
  iterator begin() { return iterator(this, 0); }
  iterator end() { return iterator(this, size_); }
  const_iterator begin() const { return const_iterator(this, 0); }
  const_iterator end() const { return const_iterator(this, size_); }

  T& emplace_back() { return *append(1); }
  void push_back(const T& value) { emplace_back() = value; }

  // Appends `count` (at most one chunk) value-initialised elements that
  // stand next to each other; returns the first. The chunk's unused end is
  // skipped when they do not fit, so indexes then jump over slots that hold
  // no element: such sequences are reached by index, not iterated, and hold
  // plain records.
  T* appendContiguous(size_t count) {
    static_assert(std::is_trivially_destructible_v<T>, "only plain records are appended in runs");
    return append(count);
  }

  void clear() {
    if constexpr (!std::is_trivially_destructible_v<T>)
      for (size_t i = 0; i < size_; ++i) (*this)[i].~T();
    for (void* chunk : chunks_) releaseChunk(chunk);
    chunks_.clear();
    size_ = 0;
  }

 private:
  T* slot(size_t index) { return static_cast<T*>(chunks_[index / kChunk]) + index % kChunk; }

  T* append(size_t count) {
    if (size_ % kChunk != 0 && size_ % kChunk + count > kChunk) size_ = chunks_.size() * kChunk;
    if (size_ / kChunk == chunks_.size()) {
      chunks_.reserve(chunks_.size() + 1);
      chunks_.push_back(takeChunk());
    }
    // The run stands in one chunk: its slots follow each other.
    T* const first = slot(size_);
    for (size_t i = 0; i < count; ++i) new (first + i) T();
    size_ += count;
    return count ? std::launder(first) : nullptr;
  }

  std::vector<void*> chunks_;
  size_t size_ = 0;
};

}  // namespace orvhost
