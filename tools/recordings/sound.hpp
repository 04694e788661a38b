// Sound buffers of the recording tool: float samples in [-1, 1] at a given rate, with the
// trimming, loudness, resampling and wave writing every recording goes through.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace teluma::tools::recordings {

struct Sound {
  int rate = 22050;
  std::vector<float> samples;
  double Seconds() const { return rate ? double(samples.size()) / rate : 0.0; }
};

// Removes leading and trailing stretches quieter than threshold (linear), keeping a short
// margin so that consonants at the edges are not clipped.
void TrimSilence(Sound& sound, float threshold = 0.01f, double marginSeconds = 0.01);

// Loudness as RMS over the 20 ms frames that are not near-silent, in dB below full scale.
double ActiveLoudnessDb(const Sound& sound);

// Scales the sound so that its active loudness is targetDb, without letting peaks pass
// peakLimit (a peak limit wins over the target).
void NormalizeLoudness(Sound& sound, double targetDb, float peakLimit = 0.97f);

// Linear-interpolation resampling after a simple low-pass when going down.
Sound Resample(const Sound& sound, int rate);

// Short fade-in and fade-out so cut edges do not click.
void FadeEdges(Sound& sound, double seconds = 0.005);

// Writes a RIFF/WAVE file with a 44-byte header, mono, 8 or 16 bits. Written to a temporary
// name and renamed, so an interrupted build never leaves half a file. False on failure.
bool WriteWave(const std::string& path, const Sound& sound, int bits);

}  // namespace teluma::tools::recordings
