#pragma once
// The end of a block for the backends that keep the working variables in names of their own:
// each variable is added into its word of the state, and the sum starts the next block.
template <typename Word, typename... Words>
inline void AddIntoState(Word* state, Words&... variables) {
  int i = 0;
  ((variables = state[i++] += variables), ...);
}
