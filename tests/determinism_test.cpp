// SPDX-License-Identifier: MIT
// One world everywhere: a long scripted game hashed at checkpoints, and a
// hash of every value the game takes from sine and cosine, both compared
// with the list in determinism_expected.h that the Linux x86-64 build
// printed. Every platform must print the same lines.
#include <gtest/gtest.h>

#include <algorithm>
#include <cinttypes>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "controls.h"
#include "determinism_expected.h"
#include "recorder.h"
#include "render.h"
#include "sim.h"
#include "trig.h"
#include "world.h"

// Only the native Linux build has MPFR to prove the rounding with.
#ifdef ZARVEL_HAVE_MPFR
#include <mpfr.h>
#endif

namespace {

constexpr uint64_t FNV_OFFSET = 0xcbf29ce484222325u;

// 64-bit FNV-1a over the bytes of `value`, taken as a number low byte
// first, so that a big-endian machine hashes what a little-endian one does.
template <typename Field>
uint64_t fnv1a(Field value, uint64_t hash) {
    static_assert(sizeof(Field) == 4 || sizeof(Field) == 8, "fields are 32 or 64 bits");
    using Bits = std::conditional_t<sizeof(Field) == 4, uint32_t, uint64_t>;
    Bits bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    for (size_t i = 0; i < sizeof bits; i++) {
        hash ^= static_cast<unsigned char>(bits >> (8 * i));
        hash *= 0x100000001b3u;
    }
    return hash;
}

// fnv1a over `size` bytes of 32-bit fields (the world, a float array).
uint64_t fnv1aFields(const void* data, size_t size, uint64_t hash = FNV_OFFSET) {
    const unsigned char* bytes = static_cast<const unsigned char*>(data);
    for (size_t offset = 0; offset < size; offset += 4) {
        uint32_t field = 0;
        std::memcpy(&field, bytes + offset, 4);
        hash = fnv1a(field, hash);
    }
    return hash;
}

// The expected line that starts with `name` and a space, or "".
std::string expectedLine(const std::string& name) {
    for (const std::string expected : EXPECTED_HASHES) {
        if (expected.rfind(name + " ", 0) == 0) return expected;
    }
    return "";
}

// Prints each line "name hash", so that a run gives the whole list, and
// keeps the first that differs from the expected list.
struct LineChecker {
    std::string firstDifference;
    void check(const std::string& name, uint64_t hash) {
        char line[64] = {};
        std::snprintf(line, sizeof line, "%s %016" PRIx64, name.c_str(), hash);
        std::printf("%s\n", line);
        const std::string expected = expectedLine(name);
        if (line != expected && firstDifference.empty()) {
            firstDifference = "first difference at " + name + ": expected \"" + expected +
                              "\", observed \"" + line + "\"";
        }
    }
};

constexpr int REPLAY_STEPS = 200000;
constexpr int FOLD_STEPS = 10;  // the world joins the running hash this often
constexpr int CHECKPOINT_STEPS = 10000;
constexpr int STEPS_PER_GAME = 50000;  // a new game before the ammunition runs out

// The keyboard half of the script: presses or releases one of the keys the
// game reads (both letter cases, arrows, F) as `roll` picks it.
void scriptKey(unsigned roll) {
    const unsigned char letters[] = {' ', 'z', 'x', 'c', 'Z', 'X', 'C', 'f'};
    const bool press = (roll & 1u) != 0;
    const unsigned pick = (roll >> 1) % 12;
    if (pick < 8) {
        const unsigned char key = letters[pick];
        press ? keyboard(key, 0, 0) : keyboardUp(key, 0, 0);
    } else {
        const int key = KEY_LEFT + static_cast<int>(pick - 8);
        press ? special(key, 0, 0) : specialUp(key, 0, 0);
    }
}

// The joystick half: a new sample held from now on, or the stick gone.
void scriptJoystick(unsigned roll) {
    const int axis[5] = {-1000, -600, 0, 600, 1000};
    recorder.joystickAttached = roll % 7 != 0;
    recorder.joystickButtons = (roll >> 3) & 15u;
    recorder.joystickX = axis[(roll >> 7) % 5];
    recorder.joystickY = axis[(roll >> 11) % 5];
}

// Step length in ms: 10 to 40, and now and then a stall of 200 to 900.
int scriptStepLength(unsigned roll) {
    if (roll % 2000 == 0) return 200 + static_cast<int>((roll >> 11) % 701);
    return 10 + static_cast<int>((roll >> 11) % 31);
}

constexpr int HEADINGS = 360 * 32 + 1;   // 0 to 360 degrees in steps of 1/32
constexpr int ELEVATIONS = 20 * 32 + 1;  // 0 to 20 degrees in steps of 1/32

}  // namespace

// A fixed script (std::mt19937's sequence is the same everywhere) plays
// four games through the input callbacks and idleStep: presses and releases
// of every key the game reads, joystick samples and a joystick that goes,
// volleys at full elevation with short steps that fill every shot slot, and
// stalls that bring many shots down in one step. Every 10 steps the whole
// world, field by field, joins a running hash, and each 10,000th step prints
// it: a difference in any field at any fold shows at the next checkpoint.
TEST(Determinism, ScriptedGameHashesAsOnLinuxX86_64) {
    static_assert(alignof(WorldState) == 4, "the world is 32-bit fields with no padding");
    std::mt19937 script(2026);
    startTestGame(0);
    LineChecker lines;
    uint64_t running = FNV_OFFSET;
    int mostShots = 0;
    int mostMarks = 0;
    int hits = 0;
    for (int step = 1; step <= REPLAY_STEPS; step++) {
        if (step % STEPS_PER_GAME == 1) {
            hits += world.hitCount;
            startGameState(recorder.clock);
            world.hasJoystick = 1;
        }
        const bool volley = step % 20000 < 1500;
        if (volley) {
            keyboard(' ', 0, 0);
            special(KEY_UP, 0, 0);
            recorder.joystickAttached = false;
            stepBy(step % 1500 >= 1498 ? 600 : 10);
        } else {
            const unsigned roll = script();
            if (roll % 16 == 0) scriptKey(roll >> 4);
            if (roll % 256 == 1) scriptJoystick(roll >> 8);
            stepBy(scriptStepLength(script()));
        }
        int shots = 0;
        for (const Shot& shot : world.shots) shots += shot.state == SHOT_FLYING ? 1 : 0;
        int marks = 0;
        for (const ImpactMark& mark : world.impactMarks) marks += mark.ttl > 0 ? 1 : 0;
        mostShots = std::max(mostShots, shots);
        mostMarks = std::max(mostMarks, marks);
        if (step % FOLD_STEPS == 0) running = fnv1aFields(&world, sizeof world, running);
        if (step % CHECKPOINT_STEPS == 0) lines.check(std::to_string(step), running);
    }
    hits += world.hitCount;
    std::printf("replay: %d hits, at most %d shots flying and %d marks\n", hits, mostShots,
                mostMarks);
    EXPECT_EQ(lines.firstDifference, "");
    EXPECT_GT(hits, 0);
    EXPECT_EQ(mostShots, MAX_SHOTS);
    EXPECT_EQ(mostMarks, MAX_IMPACT_MARKS);
}

namespace {
// Every angle, in radians, at which the game takes a sine or a cosine: the
// spawn headings, the barrel's at every heading and elevation the aiming can
// reach, and the meshes' and the mark ring's.
std::vector<double> gameAngles() {
    std::vector<double> angles;
    for (int heading = 0; heading < 360; heading++) angles.push_back(spawnRadians(heading));
    for (int k = 0; k < HEADINGS; k++) angles.push_back(barrelPsi(k / 32.0f));
    for (int k = 0; k < ELEVATIONS; k++) angles.push_back(barrelTheta(k / 32.0f));
    for (int k = 0; k < TABLE_SIZE; k++) angles.push_back(tableAngle(k));
    for (int k = 0; k <= 32; k++) angles.push_back(sphereAngle(k));
    for (int k = 0; k < MARK_RING_POINTS - 1; k++) angles.push_back(markRingAngle(k));
    return angles;
}
}  // namespace

// The values the world and the meshes keep from every sine and cosine the
// game takes, rounded as they are kept: a spawn's x and z at every heading
// and distance, a shot's direction at every heading and elevation, and
// every array prepareMeshes fills; and the doubles themselves, at every
// angle of the game, which the native MPFR test proves correctly rounded.
TEST(Determinism, SinesAndCosinesHashAsOnLinuxX86_64) {
    LineChecker lines;
    uint64_t hash = FNV_OFFSET;
    for (int heading = 0; heading < 360; heading++) {
        const double sine = roundedSin(spawnRadians(heading));
        const double cosine = roundedCos(spawnRadians(heading));
        for (int distance = 100; distance < 800; distance++) {
            const float place[2] = {static_cast<float>(sine * distance),
                                    static_cast<float>(cosine * distance)};
            hash = fnv1aFields(place, sizeof place, hash);
        }
    }
    lines.check("spawn", hash);

    std::vector<double> sinTheta(ELEVATIONS);
    std::vector<double> cosTheta(ELEVATIONS);
    for (int k = 0; k < ELEVATIONS; k++) {
        sinTheta[k] = roundedSin(barrelTheta(k / 32.0f));
        cosTheta[k] = roundedCos(barrelTheta(k / 32.0f));
    }
    hash = FNV_OFFSET;
    for (int heading = 0; heading < HEADINGS; heading++) {
        const double sinPsi = roundedSin(barrelPsi(heading / 32.0f));
        const double cosPsi = roundedCos(barrelPsi(heading / 32.0f));
        for (int k = 0; k < ELEVATIONS; k++) {
            const float direction[3] = {static_cast<float>(-(cosPsi * cosTheta[k])),
                                        static_cast<float>(sinTheta[k]),
                                        static_cast<float>(sinPsi * cosTheta[k])};
            hash = fnv1aFields(direction, sizeof direction, hash);
        }
    }
    lines.check("aim", hash);

    prepareMeshes();
    const std::pair<const float*, size_t> meshes[] = {
        {sinTable, sizeof sinTable},
        {cosTable, sizeof cosTable},
        {gunVertices, sizeof gunVertices},
        {gunNormals, sizeof gunNormals},
        {unitSphereVertices, sizeof unitSphereVertices},
        {unitSphereNormals, sizeof unitSphereNormals},
        {targetSphereVertices, sizeof targetSphereVertices},
        {targetSphereNormals, sizeof targetSphereNormals},
        {shotSphereVertices, sizeof shotSphereVertices},
        {shotSphereNormals, sizeof shotSphereNormals},
        {markRingX, sizeof markRingX},
        {markRingZ, sizeof markRingZ},
    };
    hash = FNV_OFFSET;
    for (const auto& [array, size] : meshes) hash = fnv1aFields(array, size, hash);
    lines.check("meshes", hash);

    hash = FNV_OFFSET;
    for (const double x : gameAngles()) hash = fnv1a(roundedCos(x), fnv1a(roundedSin(x), hash));
    lines.check("trig", hash);
    EXPECT_EQ(lines.firstDifference, "");
    EXPECT_TRUE(std::signbit(roundedSin(-0.0)) && !std::signbit(roundedSin(0.0)))
        << "sin keeps the sign of zero, as the C library does";
}

#ifdef ZARVEL_HAVE_MPFR

// roundedSin and roundedCos give the double nearest to the exact value at
// every angle of the game, as MPFR rounds the exact value.
TEST(Determinism, SineAndCosineAreCorrectlyRoundedAtEveryAngleOfTheGame) {
    mpfr_t angle;
    mpfr_t exact;
    mpfr_init2(angle, 53);
    mpfr_init2(exact, 53);
    int wrong = 0;
    const std::vector<double> angles = gameAngles();
    for (const double x : angles) {
        mpfr_set_d(angle, x, MPFR_RNDN);
        mpfr_sin(exact, angle, MPFR_RNDN);
        const double sine = mpfr_get_d(exact, MPFR_RNDN);
        mpfr_cos(exact, angle, MPFR_RNDN);
        const double cosine = mpfr_get_d(exact, MPFR_RNDN);
        if (roundedSin(x) != sine || roundedCos(x) != cosine) {
            if (++wrong <= 5) {
                ADD_FAILURE() << std::hexfloat << "at " << x << ": sin " << roundedSin(x)
                              << " (nearest " << sine << "), cos " << roundedCos(x) << " (nearest "
                              << cosine << ")";
            }
        }
    }
    mpfr_clear(angle);
    mpfr_clear(exact);
    EXPECT_EQ(wrong, 0) << "of " << angles.size() << " angles";
    EXPECT_EQ(angles.size(), 360u + HEADINGS + ELEVATIONS + TABLE_SIZE + 33 + 16);
}
#endif
