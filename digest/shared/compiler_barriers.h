#pragma once
// Where the compiler's own rewriting of a step measures slower than the code as written, these
// hold it to the code. Both are an empty asm statement that claims to read and change its
// operand: the compiler must have the value exactly there, in a register or in memory, and may
// assume nothing about what comes out. Neither emits an instruction.
#include <cstddef>
#include <type_traits>

// The value as it stands: the compiler may not fold later operations into the one that made it,
// for one by reassociating a sum so that more of it lies on the chain from step to step.
template <typename Value>
inline Value Settled(Value value) {
  if constexpr (std::is_integral_v<Value>) {
    __asm__("" : "+r"(value));
  } else {
    __asm__("" : "+v"(value));  // a vector register
  }
  return value;
}

// Stores the vector `value` at `words` (aligned to it) and pins the words there, for steps in
// general-purpose registers to load one at a time: a store and a load use ports the steps leave
// idle, where the compiler would otherwise move each word across with extractions that compete
// with the steps for theirs. Always inlined, as the store intrinsics it stands for are.
template <typename Vector, typename Word>
__attribute__((always_inline)) inline void StorePinned(Word* words, const Vector& value) {
  constexpr size_t COUNT = sizeof(Vector) / sizeof(Word);
  *reinterpret_cast<Vector*>(words) = value;
  __asm__("" : "+m"(*reinterpret_cast<Word(*)[COUNT]>(words)));
}
