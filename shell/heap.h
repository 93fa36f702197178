// The add-on's heap blocks: the per-run tables and their growth.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <new>
#include <type_traits>
#include <utility>
#include <vector>

namespace drawport {

// The add-on's one allocation function: gives `block` (null for a new one)
// room for `bytes`, keeping its contents; null when the heap cannot, and
// `block` is then untouched. Test builds link a version that can be told to
// fail.
void* heapResize(void* block, std::size_t bytes);
void heapFree(void* block);

// A growable array of plain records in one heap block, freed with its owner.
template <class T>
class HeapArray {
  static_assert(std::is_trivially_copyable_v<T>, "heap arrays hold plain records");

 public:
  HeapArray() = default;
  ~HeapArray() { heapFree(data_); }
  HeapArray(const HeapArray&) = delete;
  HeapArray& operator=(const HeapArray&) = delete;

  // Allocates room for `capacity` zeroed records; false when the heap cannot.
  bool allocate(int32_t capacity) { return resize(capacity); }
  // Grows the room to `capacity` records, the new ones zeroed, the old ones
  // kept in place and in order; false (and nothing changed) when the heap
  // cannot.
  bool grow(int32_t capacity) { return resize(capacity); }

  void swap(HeapArray& other) {
    std::swap(data_, other.data_);
    std::swap(capacity_, other.capacity_);
  }

  bool allocated() const { return data_ != nullptr; }
  int32_t capacity() const { return capacity_; }
  T* data() { return data_; }
  const T* data() const { return data_; }
  T& operator[](int32_t index) { return data_[index]; }
  const T& operator[](int32_t index) const { return data_[index]; }

 private:
  bool resize(int32_t capacity) {
    if (capacity < capacity_ || static_cast<std::size_t>(capacity) > SIZE_MAX / sizeof(T)) return false;
    void* block = heapResize(data_, static_cast<std::size_t>(capacity) * sizeof(T));
    if (!block) return false;
    data_ = static_cast<T*>(block);
    std::memset(static_cast<void*>(data_ + capacity_), 0,
                static_cast<std::size_t>(capacity - capacity_) * sizeof(T));
    capacity_ = capacity;
    return true;
  }

  T* data_ = nullptr;
  int32_t capacity_ = 0;
};

// The standard containers of the full reading take their memory from the
// add-on's heap too. A failed allocation throws std::bad_alloc, which the
// full reading catches before it returns to the host and turns into the
// run's out-of-memory failure.
template <class T>
struct HeapAllocator {
  using value_type = T;
  HeapAllocator() = default;
  template <class U>
  HeapAllocator(const HeapAllocator<U>&) {}
  T* allocate(std::size_t count) {
    void* block = count <= SIZE_MAX / sizeof(T) ? heapResize(nullptr, count * sizeof(T)) : nullptr;
    if (!block) throw std::bad_alloc();
    return static_cast<T*>(block);
  }
  void deallocate(T* block, std::size_t) { heapFree(block); }
  template <class U>
  bool operator==(const HeapAllocator<U>&) const {
    return true;
  }
  template <class U>
  bool operator!=(const HeapAllocator<U>&) const {
    return false;
  }
};

template <class T>
using HeapVector = std::vector<T, HeapAllocator<T>>;

}  // namespace drawport
