#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <string>
#include <type_traits>

#include "platform/exception.h"
#include "platform/zeroed_storage.h"

// Raised for every index outside 0 .. Length() - 1, including any index into an array
// that has no storage.
class DynArrayOutOfRange : public Exception {
 public:
  DynArrayOutOfRange(std::int64_t index, std::int64_t length)
      : Exception("Range check error: index " + std::to_string(index) +
                  " is outside an array of length " + std::to_string(length)),
        Index(index),
        Length(length) {}

  std::int64_t Index;
  std::int64_t Length;
};

// A reference-counted array that carries its length. Copies share the storage, so a chart
// series handed an array sees every later write to it. New storage comes zeroed, as fresh
// pages that cost no memory until they are written.
template <typename T>
class DynArray {
  static_assert(std::is_trivially_copyable_v<T> && std::is_trivially_destructible_v<T>,
                "DynArray holds plain numbers only");

 public:
  DynArray() = default;

  // New zeroed storage of `length` entries; throws std::bad_alloc when it cannot be had.
  static DynArray Allocate(std::size_t length) {
    DynArray array;
    if (length == 0) return array;
    if (length > SIZE_MAX / sizeof(T)) throw std::bad_alloc();
    array.storage_ = std::static_pointer_cast<T>(AllocateZeroed(length * sizeof(T)));
    array.length_ = length;
    return array;
  }

  std::size_t Length() const { return length_; }
  bool Empty() const { return length_ == 0; }

  T& operator[](std::size_t index) const {
    CheckIndex(index);
    return storage_.get()[index];
  }

  // Throws unless [first, first + count) lies inside the array, so a loop can check its
  // whole range once and then run over data().
  void CheckRange(std::size_t first, std::size_t count) const {
    if (count == 0) return;
    if (first >= length_ || count > length_ - first) {
      const std::size_t bad = first >= length_ ? first : first + count - 1;
      throw DynArrayOutOfRange(static_cast<std::int64_t>(bad), static_cast<std::int64_t>(length_));
    }
  }

  T* data() const { return storage_.get(); }

  // Entries [first, first + count) are about to be written in one go: their whole huge
  // pages are asked for as such (see AdviseHugePages). Throws like CheckRange.
  void AdviseHugePagesFor(std::size_t first, std::size_t count) const {
    CheckRange(first, count);
    if (count > 0) AdviseHugePages(storage_.get() + first, count * sizeof(T));
  }

  // Lets go of the storage; other holders keep it.
  void Release() {
    storage_.reset();
    length_ = 0;
  }

  // Number of holders of this storage (0 for an array without storage).
  long UseCount() const { return storage_.use_count(); }
  bool SharesStorageWith(const DynArray& other) const {
    return storage_ != nullptr && storage_ == other.storage_;
  }

 private:
  void CheckIndex(std::size_t index) const {
    if (index >= length_) {
      throw DynArrayOutOfRange(static_cast<std::int64_t>(index),
                               static_cast<std::int64_t>(length_));
    }
  }

  std::shared_ptr<T> storage_;
  std::size_t length_ = 0;
};
