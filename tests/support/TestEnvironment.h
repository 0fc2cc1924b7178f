#pragma once

// Sets what every test program needs before its application object is made: offscreen drawing
// unless told otherwise, and a private runtime folder, which CI machines lack.
void prepareTestEnvironment();
