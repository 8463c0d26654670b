#pragma once

// TSet<E>: a set over an enumeration, as published set properties hold them
// (`[fsBold, fsItalic]`). Like the classic published sets it fits in 32 bits,
// so an enumeration used in a set has at most 32 members.

#include <cassert>
#include <cstdint>
#include <initializer_list>
#include <type_traits>

template <class E>
class TSet {
  static_assert(std::is_enum_v<E>, "TSet is a set over an enumeration");

 public:
  constexpr TSet() = default;
  constexpr TSet(E Member) { Include(Member); }  // NOLINT: a member is a one-element set
  constexpr TSet(std::initializer_list<E> Members) {
    for (E member : Members)
      Include(member);
  }
  static constexpr TSet FromBits(std::uint32_t Bits) {
    TSet result;
    result.bits_ = Bits;
    return result;
  }

  constexpr std::uint32_t Bits() const { return bits_; }
  constexpr bool Empty() const { return bits_ == 0; }
  constexpr bool Contains(E Member) const { return (bits_ & Bit(Member)) != 0; }
  constexpr TSet& Include(E Member) {
    bits_ |= Bit(Member);
    return *this;
  }
  constexpr TSet& Exclude(E Member) {
    bits_ &= ~Bit(Member);
    return *this;
  }

  friend constexpr TSet operator+(TSet A, TSet B) { return FromBits(A.bits_ | B.bits_); }
  friend constexpr TSet operator-(TSet A, TSet B) { return FromBits(A.bits_ & ~B.bits_); }
  friend constexpr TSet operator*(TSet A, TSet B) { return FromBits(A.bits_ & B.bits_); }
  friend constexpr bool operator==(TSet A, TSet B) { return A.bits_ == B.bits_; }
  constexpr TSet& operator+=(TSet Other) { return *this = *this + Other; }
  constexpr TSet& operator-=(TSet Other) { return *this = *this - Other; }

 private:
  static constexpr std::uint32_t Bit(E Member) {
    const auto ordinal = static_cast<unsigned>(Member);
    assert(ordinal < 32);
    return std::uint32_t{1} << ordinal;
  }

  std::uint32_t bits_ = 0;
};
