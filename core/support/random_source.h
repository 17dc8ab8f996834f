#pragma once
// The program's one pseudo-random generator, behind an interface so that tests can script it.
#include <cstdint>
#include <random>

namespace tilvane {

class Random_Source {
public:
    virtual ~Random_Source() = default;
    virtual void Seed(std::uint64_t seed) = 0;
    // Uniform over 0 .. count - 1; 0 when count is not positive.
    virtual int Uniform_Below(int count) = 0;
};

class Twister_Random_Source final : public Random_Source {
public:
    void Seed(std::uint64_t seed) override { engine_.seed(seed); }
    int Uniform_Below(int count) override {
        if (count <= 0) return 0;
        return std::uniform_int_distribution<int>(0, count - 1)(engine_);
    }

private:
    std::mt19937_64 engine_;
};

}  // namespace tilvane
