// Writes the workbench's nine sound effects as 16-bit mono WAV files into a folder.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr int kRate = 22050;
constexpr double kPi = 3.14159265358979323846;

using Samples = std::vector<double>;

void PutLe(std::ofstream& out, uint32_t nValue, int nBytes) {
    for (int i = 0; i < nBytes; ++i)
        out.put(char((nValue >> (8 * i)) & 0xFF));
}

bool WriteWav(const std::string& strPath, const Samples& samples) {
    std::ofstream out(strPath, std::ios::binary);
    if (!out)
        return false;
    const uint32_t nData = uint32_t(samples.size() * 2);
    out.write("RIFF", 4);
    PutLe(out, 36 + nData, 4);
    out.write("WAVEfmt ", 8);
    PutLe(out, 16, 4);
    PutLe(out, 1, 2); // PCM
    PutLe(out, 1, 2); // mono
    PutLe(out, kRate, 4);
    PutLe(out, kRate * 2, 4);
    PutLe(out, 2, 2);
    PutLe(out, 16, 2);
    out.write("data", 4);
    PutLe(out, nData, 4);
    for (double f : samples) {
        const double clamped = std::fmax(-1.0, std::fmin(1.0, f));
        PutLe(out, uint32_t(int32_t(std::lround(clamped * 32000.0))) & 0xFFFF, 2);
    }
    return bool(out);
}

// A sum of partials (frequency, amplitude) under an attack/exponential-decay envelope.
Samples Tone(double fSeconds, std::vector<std::pair<double, double>> partials, double fDecay,
             double fAttack = 0.004) {
    Samples s(size_t(fSeconds * kRate));
    for (size_t i = 0; i < s.size(); ++i) {
        const double t = double(i) / kRate;
        double v = 0;
        for (auto [f, a] : partials)
            v += a * std::sin(2 * kPi * f * t);
        const double env = std::fmin(1.0, t / fAttack) * std::exp(-t * fDecay);
        // A short fade at the very end keeps the last sample from clicking.
        const double tail = std::fmin(1.0, double(s.size() - i) / (0.005 * kRate));
        s[i] = v * env * tail;
    }
    return s;
}

Samples Glide(double fSeconds, double f0, double f1, double fDecay, double fGain) {
    Samples s(size_t(fSeconds * kRate));
    double phase = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        const double t = double(i) / kRate;
        const double f = f0 + (f1 - f0) * t / fSeconds;
        phase += 2 * kPi * f / kRate;
        const double env = std::fmin(1.0, t / 0.004) * std::exp(-t * fDecay);
        const double tail = std::fmin(1.0, double(s.size() - i) / (0.005 * kRate));
        s[i] = fGain * (std::sin(phase) + 0.3 * std::sin(2 * phase)) * env * tail;
    }
    return s;
}

Samples Concat(const Samples& a, const Samples& b) {
    Samples s = a;
    s.insert(s.end(), b.begin(), b.end());
    return s;
}

// A soft hum whose period divides the file length exactly, so that it loops without a click.
Samples Hum() {
    const int nSamples = kRate / 2; // 0.5 s: 110 Hz and 220 Hz both complete whole cycles
    Samples s(nSamples);
    for (int i = 0; i < nSamples; ++i) {
        const double t = double(i) / kRate;
        const double wobble = 0.8 + 0.2 * std::sin(2 * kPi * 4 * t);
        s[i] = 0.18 * wobble * (std::sin(2 * kPi * 110 * t) + 0.5 * std::sin(2 * kPi * 220 * t));
    }
    return s;
}

// Two strikes of a small bell per second, written so the loop restarts on a strike.
Samples Bell() {
    Samples s(kRate / 2 * 2, 0.0);
    const Samples strike =
        Tone(0.5, {{1320, 0.35}, {2640 * 1.19, 0.12}, {1320 * 2.76, 0.08}, {660, 0.1}}, 7.0);
    for (int k = 0; k < 2; ++k)
        for (size_t i = 0; i < strike.size() && k * strike.size() + i < s.size(); ++i)
            s[k * strike.size() + i] += strike[i];
    return s;
}

Samples Burn() {
    Samples s(size_t(0.6 * kRate));
    uint32_t seed = 12345;
    double low = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        seed = seed * 1664525u + 1013904223u;
        const double noise = double(int32_t(seed)) / 2147483648.0;
        low += 0.25 * (noise - low);
        const double t = double(i) / kRate;
        const double tail = std::fmin(1.0, double(s.size() - i) / (0.01 * kRate));
        s[i] = 0.6 * low * std::exp(-t * 5.0) * tail +
               0.25 * std::sin(2 * kPi * 90 * t) * std::exp(-t * 9.0) * tail;
    }
    return s;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    const std::string strFolder = argv[1];
    const std::vector<std::pair<const char*, std::function<Samples()>>> effects = {
        {"switch.wav",
         [] {
             return Tone(0.08, {{1800, 0.4}, {3600, 0.15}}, 60.0, 0.001);
         }},
        {"drag.wav", Hum},
        {"termdown.wav",
         [] {
             return Tone(0.07, {{1046.5, 0.35}}, 40.0);
         }},
        {"connect.wav",
         [] {
             return Concat(Tone(0.07, {{784, 0.35}, {1568, 0.1}}, 30.0),
                           Tone(0.14, {{1175, 0.35}, {2350, 0.1}}, 20.0));
         }},
        {"views.wav", [] { return Glide(0.12, 600, 900, 18.0, 0.3); }},
        {"delete.wav", [] { return Glide(0.2, 500, 180, 12.0, 0.35); }},
        {"undo.wav", [] { return Glide(0.18, 330, 660, 10.0, 0.3); }},
        {"burn.wav", Burn},
        {"bellring.wav", Bell},
    };
    for (const auto& [name, make] : effects) {
        if (!WriteWav(strFolder + "/" + name, make())) {
            std::fprintf(stderr, "cannot write %s/%s\n", strFolder.c_str(), name);
            return 1;
        }
    }
    return 0;
}
