// Writes the program's "Pop" sound: a short percussive blip, 16-bit mono PCM WAV. Run by the
// build, so no audio file is kept in the sources.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <numbers>
#include <vector>

namespace {

void put16(std::ofstream& out, std::uint16_t v)
{
    const char bytes[2] = { static_cast<char>(v & 0xff), static_cast<char>(v >> 8) };
    out.write(bytes, 2);
}

void put32(std::ofstream& out, std::uint32_t v)
{
    put16(out, static_cast<std::uint16_t>(v & 0xffff));
    put16(out, static_cast<std::uint16_t>(v >> 16));
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.wav\n", argv[0]);
        return 2;
    }
    constexpr int rate = 44100;
    constexpr int count = rate * 9 / 100; // 90 ms
    std::vector<std::int16_t> samples(count);
    double phase = 0;
    for (int i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / rate;
        // A falling pitch with a fast attack and an exponential decay sounds like a pop.
        const double frequency = 320.0 + 900.0 * std::exp(-t * 60.0);
        phase += 2.0 * std::numbers::pi * frequency / rate;
        const double attack = std::min(1.0, t / 0.002);
        const double envelope = attack * std::exp(-t * 45.0);
        samples[i] = static_cast<std::int16_t>(std::lround(0.6 * 32767.0 * envelope * std::sin(phase)));
    }
    std::ofstream out(argv[1], std::ios::binary);
    const auto dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    out.write("RIFF", 4);
    put32(out, 36 + dataBytes);
    out.write("WAVEfmt ", 8);
    put32(out, 16);
    put16(out, 1); // PCM
    put16(out, 1); // mono
    put32(out, rate);
    put32(out, rate * 2);
    put16(out, 2);
    put16(out, 16);
    out.write("data", 4);
    put32(out, dataBytes);
    for (const std::int16_t s : samples)
        put16(out, static_cast<std::uint16_t>(s));
    return out.good() ? 0 : 1;
}
