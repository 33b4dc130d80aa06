// Fourth-order low-pass filter.
