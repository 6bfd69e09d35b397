#pragma once
// Seeded generators for the benchmark's input pairs.

#include <cstdint>
#include <string>
#include <vector>

struct BenchCase {
    std::string name;
    std::string description;
    // Options given to both programs, and the input pair used (the
    // case's own unless another case's name is given).
    std::vector<std::string> options = {};
    std::string input = {};
};

// The cases in the order they run.
[[nodiscard]] std::vector<BenchCase> BenchCases();

// Writes the pair for `name` to one and two; false for an unknown name.
bool WriteBenchPair(const std::string& name, std::uint64_t seed, const std::string& one, const std::string& two);
