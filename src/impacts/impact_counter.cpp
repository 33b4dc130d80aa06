// Impact counter.
