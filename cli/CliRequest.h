#pragma once
// The engine's request for a merge from the command line.

#include "CliOptions.h"
#include "InputProbe.h"
#include "MergeRequest.h"

#include <string>
#include <vector>

// Fills request from the options and the inputs' probes (one per input, in order): layout,
// protection and switches, and each input whose probe succeeded with the pages its --pages
// selects, as it was when probed. False with a message for the user when a --pages text does not
// read for its input's page count (the message names the item and the character), when more
// pages are selected than one output holds, or when no page is selected at all.
bool MakeCliRequest(const CliOptions &options, const std::vector<ProbeResult> &probes,
                    MergeRequest &request, std::string &error);
