#pragma once

// GUI tests run inside one QApplication, created when the first test runs
// (not while tests are only being listed at build time).
void EnsureQtApplication();
