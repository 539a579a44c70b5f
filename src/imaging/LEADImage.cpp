// The TLEADImage control.
