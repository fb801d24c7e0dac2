#pragma once

// The window tests share one QApplication, created when the first test runs
// (not while the tests are only being listed at build time).
void EnsureQtApplication();
