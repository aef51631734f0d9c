#pragma once
#include <string>

class CFSMSettings;

// The Build checks of the output choices, in order: an open password switched on but empty, a
// permission password switched on but empty, an empty output file name. Returns the texts of
// every failed check joined in one message; empty when Build may go on.
std::wstring CollectBuildErrors(const CFSMSettings &settings);
