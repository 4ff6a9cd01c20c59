// A driver for the fuzz targets that needs no libFuzzer: it runs every file of
// the given seed folders, then a few seconds of simple mutations of them with
// a fixed random seed. The native test suite runs it as a smoke test; the
// real fuzzing is scripts/fuzz with clang.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

int Run(const std::string& input) {
    // A copy of exactly the input's size, so the sanitizers see overreads.
    std::vector<uint8_t> buffer(input.begin(), input.end());
    return LLVMFuzzerTestOneInput(buffer.empty() ? nullptr : buffer.data(), buffer.size());
}

std::string Mutate(const std::vector<std::string>& seeds, std::mt19937& rng) {
    std::string s = seeds[rng() % seeds.size()];
    const int steps = 1 + static_cast<int>(rng() % 8);
    for (int i = 0; i < steps; ++i) {
        const size_t pos = s.empty() ? 0 : rng() % (s.size() + 1);
        switch (rng() % 6) {
        case 0: // flip a byte
            if (!s.empty())
                s[pos % s.size()] = static_cast<char>(rng());
            break;
        case 1: // insert a byte
            s.insert(s.begin() + static_cast<long>(pos), static_cast<char>(rng()));
            break;
        case 2: // cut off the end
            s.resize(pos);
            break;
        case 3: // erase a run
            if (!s.empty())
                s.erase(pos % s.size(), rng() % 16);
            break;
        case 4: { // splice in part of another seed
            const std::string& other = seeds[rng() % seeds.size()];
            if (!other.empty()) {
                const size_t from = rng() % other.size();
                s.insert(pos, other.substr(from, rng() % 64));
            }
            break;
        }
        default: // repeat a run
            if (!s.empty()) {
                const size_t from = pos % s.size();
                const std::string run = s.substr(from, 1 + rng() % 8);
                s.insert(from, run);
            }
            break;
        }
    }
    return s;
}

} // namespace

int main(int argc, char** argv) {
    double seconds = 3.0;
    std::vector<std::string> seeds;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind("--seconds=", 0) == 0) {
            seconds = std::atof(arg.c_str() + 10);
            continue;
        }
        for (const auto& entry : std::filesystem::directory_iterator(arg)) {
            if (!entry.is_regular_file())
                continue;
            std::ifstream in(entry.path(), std::ios::binary);
            seeds.emplace_back(std::istreambuf_iterator<char>(in),
                               std::istreambuf_iterator<char>());
        }
    }
    if (seeds.empty()) {
        std::fprintf(stderr, "no seed files\n");
        return 2;
    }
    for (const auto& seed : seeds)
        Run(seed);
    std::mt19937 rng(20240307);
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    long runs = 0;
    while (std::chrono::steady_clock::now() < end) {
        Run(Mutate(seeds, rng));
        ++runs;
    }
    std::printf("%zu seeds, %ld mutated inputs\n", seeds.size(), runs);
    return 0;
}
