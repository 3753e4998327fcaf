// The end of a user of keccak_x86_64_asm.h, after its last expansion of KECCAK_ABSORB_BLOCKS:
// undefines the frame's macros and the ones the user defined for it, so that their short names
// reach no code after it. Included once at the end of each user, hence no include guard.
#if DIGEST_X86_64_BACKENDS

#undef KECCAK_ABSORB_BLOCKS
#undef ABSORB_BLOCK
#undef ABSORB
#undef FOUR_ROUNDS
#undef ROUND
#undef ROW_S_PARITIES
#undef COLUMN_PARITY
#undef LAST_LANE_IN
#undef KEPT_IN
#undef LANE_IN_UNROTATED
#undef LANE_IN
#undef XOR_FROM
#undef STORE
#undef LOAD
#undef ROL
#undef OP
#undef ROUND_CONSTANTS
#undef RATE
#undef BLOCKS_END
#undef BLOCK
#undef SAVED_RBP
#undef ROUND_CONSTANTS_END
#undef ROUND_CONSTANT
#undef LANE_AT
#undef FIRST_SI
#undef FIRST_SE
#undef FIRST_SA
#undef FIRST_DU
#undef FIRST_DE
#undef FIRST_DA
#undef KU
#undef KO
#undef DO
#undef DI
#undef TEMP
#undef B3
#undef B1
#undef B0

// What each user defines for ROUND.
#undef ROW_S
#undef ROW_M
#undef ROW_K
#undef ROW_B
#undef ROW_G
#undef THETA_EFFECTS

#endif
