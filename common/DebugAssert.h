#pragma once
// RAVELIN_ASSERT(condition): checks, in debug builds only, an invariant that
// no input can break (a broken one is a bug of ours: the program stops at
// once, naming the place). Anything that outside input can make false (files,
// registry values, user text) is a checked result instead, in every build.
// The condition is not evaluated in release builds: give it no side effects.
#include <cstdio>
#include <cstdlib>

#ifdef NDEBUG
#define RAVELIN_ASSERT(condition) static_cast<void>(0)
#else
#define RAVELIN_ASSERT(condition) \
    ((condition) \
         ? static_cast<void>(0) \
         : (std::fprintf(stderr, "%s:%d: invariant broken: %s\n", __FILE__, __LINE__, #condition), std::abort()))
#endif
