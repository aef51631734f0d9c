#pragma once

// Marks what the engine library exports to other programs; everything else stays hidden.
#if defined(_WIN32)
#if defined(MERGERTOOL_BUILDING)
#define MERGERTOOL_API __declspec(dllexport)
#else
#define MERGERTOOL_API __declspec(dllimport)
#endif
#define MERGERTOOL_LOCAL
#else
#define MERGERTOOL_API __attribute__((visibility("default")))
#define MERGERTOOL_LOCAL __attribute__((visibility("hidden")))
#endif
