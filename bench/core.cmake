# (benchmarks of the core are added here)
