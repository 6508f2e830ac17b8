// Fixed-capacity arrays indexed from an arbitrary lower bound, so that the
// document's tables read with the same indices as its algorithms (layer 1 is
// index 1, the segment slopes run from -1). Nothing here allocates.
#pragma once

#include <array>
#include <cassert>
#include <cstddef>

template <typename T, int Lo, int Hi>
class TFixedArray {
  static_assert(Hi >= Lo, "empty fixed array");

public:
  static constexpr int Low = Lo;
  static constexpr int High = Hi;

  constexpr T& operator[](int i) {
    assert(i >= Lo && i <= Hi);
    return Items[static_cast<std::size_t>(i - Lo)];
  }
  constexpr const T& operator[](int i) const {
    assert(i >= Lo && i <= Hi);
    return Items[static_cast<std::size_t>(i - Lo)];
  }

  void Fill(const T& value) { Items.fill(value); }

  friend bool operator==(const TFixedArray& a, const TFixedArray& b) { return a.Items == b.Items; }
  friend bool operator!=(const TFixedArray& a, const TFixedArray& b) { return !(a == b); }

private:
  std::array<T, static_cast<std::size_t>(Hi - Lo + 1)> Items{};
};

// Two-dimensional table [RowLo..RowHi][ColLo..ColHi].
template <typename T, int RowLo, int RowHi, int ColLo, int ColHi>
using TFixedMatrix = TFixedArray<TFixedArray<T, ColLo, ColHi>, RowLo, RowHi>;
