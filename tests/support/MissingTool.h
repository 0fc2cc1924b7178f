#pragma once

#include <gtest/gtest.h>
#include "support/MissingTool.h"

// Leaves a test out for a tool this machine lacks. In a build where the set-up is trusted to have
// installed every tool (LUMIVEX_SKIP_IS_FAILURE), a missing tool is a fault of the set-up, so the test
// fails and says which tool is missing.
#ifdef LUMIVEX_SKIP_IS_FAILURE
#define SKIP_FOR_MISSING_TOOL() FAIL() << "a skip is a failure in this build: "
#else
#define SKIP_FOR_MISSING_TOOL() GTEST_SKIP()
#endif
