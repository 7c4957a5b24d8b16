#pragma once

// The headless display for targets and seed writers that make graphics: a
// 16-bit display started once, stopped at exit. A display that does not
// start is a broken machine, not a finding: it ends the process.
void StartFuzzDisplay();
