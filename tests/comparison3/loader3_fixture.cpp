// The loader tests' data drive (supplier catalogues made article by article, a recording
// sink, a fixed today) serves the three-supplier tests too: built into this test program
// from its one source.
#include "comparison/loader/loader_fixture.cpp"  // NOLINT(bugprone-suspicious-include)
