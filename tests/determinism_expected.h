// SPDX-License-Identifier: MIT
// The lines the determinism tests print on Linux x86-64, the reference for
// every platform. Regenerate them only for a change meant to alter the game
// (docs/DETERMINISM.md says how).
#pragma once

// One line a checkpoint or a set of values, as the test prints them.
// clang-format off
constexpr const char* EXPECTED_HASHES[] = {
    "10000 c2defca7e4756779",
    "20000 b111e14ddda2636d",
    "30000 cb88ced5b346d0b2",
    "40000 9a9bab5e1edf5092",
    "50000 2cf2611b6142d5f3",
    "60000 382d6631fb8270ea",
    "70000 374762e37972ea5e",
    "80000 dbc05e91d383f524",
    "90000 ede7624fb64b9919",
    "100000 2c5a26185c905bb8",
    "110000 c095507440d2b853",
    "120000 7476dcb15be566bb",
    "130000 ec6e0e2e2bb93c4f",
    "140000 c2869edb522ba38f",
    "150000 2f3bb9db72d4d2f3",
    "160000 8b9605e947cc5f2f",
    "170000 6bc9463b689ee056",
    "180000 aad39dfd56e4bc81",
    "190000 fcc4fbfb3b9f078c",
    "200000 25aee458f985f5c9",
    "spawn 9b55b39529c69b33",
    "aim be28a21ea6de1837",
    "meshes 5d438646f250b66b",
};
// clang-format on
