// SPDX-License-Identifier: MIT
// The frame benchmarks' scenes, native and in the browser.
#pragma once

// Puts the world in scene 0 (the start: a new game and its first target),
// 1 (300 targets and 25 shots in flight) or 2 (full load: 300 targets, 300
// shots, 50 marks), keeping the window's size. Fires with 10 ms steps.
void buildScene(int scene);
