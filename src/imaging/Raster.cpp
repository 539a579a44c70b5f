// Raster operations of the imaging engine.
