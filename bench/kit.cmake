# (benchmarks of the kit are added here)
