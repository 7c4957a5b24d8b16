// The game-logic library: its functions come from the logic subsystems'
// archives, linked whole.
