// The NTv2 tests' writer of synthetic grid files, built into the GUI test program too, so the
// grid file dialog's GUI tests need no real grid.
#include "tests/ntv2/synthetic_grid.cpp"  // NOLINT(bugprone-suspicious-include)
