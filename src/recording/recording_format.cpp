// Recording format: constants, field offsets, layout probe.
