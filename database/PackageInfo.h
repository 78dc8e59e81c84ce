#pragma once
// The package information the build writes into each of the program's modules: the units it
// contains, the packages it requires and its description. Plain C layout, so a module built apart
// from the program can still be read.
#include <cstddef>

#ifdef _WIN32
#define LRF_MODULE_EXPORT __declspec(dllexport)
#else
#define LRF_MODULE_EXPORT __attribute__((visibility("default")))
#endif

extern "C" {

// Unit flags.
enum : unsigned char { kLrfMainUnit = 1, kLrfPackageUnit = 2, kLrfWeakUnit = 4 };
// Package flags.
enum : unsigned { kLrfDesignOnly = 2, kLrfRunOnly = 4 };

inline constexpr unsigned kLrfPackageInfoVersion = 1;

struct LrfPackageUnit {
    const char* name;
    unsigned char flags;
};

struct LrfPackageInfo {
    unsigned version; // kLrfPackageInfoVersion
    unsigned flags;
    const char* description; // UTF-8; empty when the module has none
    const char* const* requiredPackages;
    std::size_t requiredCount;
    const LrfPackageUnit* units;
    std::size_t unitCount;
};

// What a loadable module exports under kLrfPackageInfoEntry.
using LrfPackageInfoEntry = const LrfPackageInfo* (*)();
}

inline constexpr const char* kLrfPackageInfoEntry = "lrfPackageInformation";
