// The material plug-in library: its entry points and classes come from the
// plug-in's archive, linked whole.
