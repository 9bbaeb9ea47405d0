// SPDX-License-Identifier: MIT
// The lines the determinism tests print on Linux x86-64, the reference for
// every platform. Regenerate them only for a change meant to alter the game
// (docs/DETERMINISM.md says how).
#pragma once

// One line a checkpoint or a set of values, as the test prints them.
// clang-format off
constexpr const char* EXPECTED_HASHES[] = {
    "10000 8c1c9f7366f14ce6",
    "20000 5214850a86b8be32",
    "30000 7efcb8e7c7128723",
    "40000 2582326c9a4681de",
    "50000 1cb6e9a439afbceb",
    "60000 d5244509919af999",
    "70000 2e41cfc072e4394e",
    "80000 08fad375860494bb",
    "90000 e6acab07468dea33",
    "100000 bfc73863381127d0",
    "110000 ad2ebe1d896f580b",
    "120000 f6c7e87dfd9b27fa",
    "130000 2b48d40ee5942b01",
    "140000 38a82d040e42e782",
    "150000 4afa23c18e378af6",
    "160000 48e39949a2a67471",
    "170000 9eba727748745ac3",
    "180000 808768ac929ba4df",
    "190000 6aac006ed69dc86c",
    "200000 48765f8969aa7e40",
    "spawn 9b55b39529c69b33",
    "aim be28a21ea6de1837",
    "meshes 5d438646f250b66b",
    "trig c0a2a3726d62ef7b",
};
// clang-format on
