# (benchmarks of this area are added here)
