// The pixel-effects library.
