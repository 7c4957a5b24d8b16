// The run-time system library: its functions come from the run-time
// subsystem's archive, linked whole.
