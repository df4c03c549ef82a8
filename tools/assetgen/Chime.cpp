// The UI chime: two soft bell notes a fifth apart, mono 16-bit PCM.
#include <cmath>
#include <cstdint>
#include <fstream>
#include <vector>

#include "Assets.h"

namespace assetgen {

namespace {

const int kRate = 44100;
const double kSeconds = 0.4;
const double kPi = 3.14159265358979323846;

void PutU16(std::vector<unsigned char>& out, uint32_t v) {
  out.push_back(v & 0xff);
  out.push_back((v >> 8) & 0xff);
}

void PutU32(std::vector<unsigned char>& out, uint32_t v) {
  PutU16(out, v & 0xffff);
  PutU16(out, v >> 16);
}

void PutTag(std::vector<unsigned char>& out, const char* tag) { out.insert(out.end(), tag, tag + 4); }

// One struck note: a quick attack, then partials that fade, higher ones faster.
double Note(double t, double freq) {
  if (t < 0) return 0;
  const double attack = 0.004;
  double envelope = t < attack ? t / attack : 1.0;
  const double partials[][3] = {{1.0, 1.0, 0.16}, {2.0, 0.35, 0.08}, {3.0, 0.12, 0.05}, {4.2, 0.05, 0.03}};
  double sum = 0;
  for (const auto& p : partials) sum += p[1] * std::exp(-t / p[2]) * std::sin(2 * kPi * freq * p[0] * t);
  return envelope * sum;
}

}  // namespace

bool MakeChime(const std::string& outDir) {
  const int frames = int(kRate * kSeconds);
  std::vector<unsigned char> samples;
  for (int i = 0; i < frames; ++i) {
    double t = double(i) / kRate;
    double v = 0.32 * Note(t, 880.0) + 0.30 * Note(t - 0.075, 1318.51);
    // A short fade keeps the cut at the end from clicking.
    double tail = (frames - i) / (0.03 * kRate);
    if (tail < 1) v *= tail;
    long s = std::lround(v * 32767.0);
    if (s > 32767) s = 32767;
    if (s < -32768) s = -32768;
    PutU16(samples, uint32_t(int32_t(s)) & 0xffff);
  }

  std::vector<unsigned char> wav;
  PutTag(wav, "RIFF");
  PutU32(wav, uint32_t(36 + samples.size()));
  PutTag(wav, "WAVE");
  PutTag(wav, "fmt ");
  PutU32(wav, 16);
  PutU16(wav, 1);  // PCM
  PutU16(wav, 1);  // mono
  PutU32(wav, kRate);
  PutU32(wav, kRate * 2);
  PutU16(wav, 2);
  PutU16(wav, 16);
  PutTag(wav, "data");
  PutU32(wav, uint32_t(samples.size()));
  wav.insert(wav.end(), samples.begin(), samples.end());

  std::ofstream file(outDir + "/sound/test_mono.wav", std::ios::binary);
  file.write(reinterpret_cast<const char*>(wav.data()), std::streamsize(wav.size()));
  return bool(file);
}

}  // namespace assetgen
