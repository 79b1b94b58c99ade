// Placeholder until the kernel tables land.
