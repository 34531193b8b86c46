#pragma once

// The game's sound cues, each synthesised from a short recipe: tones with
// envelopes, chords, glides and filtered noise, all computed in doubles from
// fixed parameters, so every run writes the same samples.

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <functional>
#include <vector>

namespace Synth {

constexpr int SampleRate = 22050;

// Every cue is levelled to this loudness over its sounding part and never
// peaks above PeakLimit, so no cue is louder than another and none clips.
constexpr double TargetRmsDb = -18.0;
constexpr double PeakLimitDb = -1.0;

using Samples = std::vector<double>; // mono, -1..1

struct CueRecipe {
    QString name;  // file name without extension: "right", "question2"...
    QString role;  // one line for the catalogue
    std::function<Samples()> render;
};

std::vector<CueRecipe> Catalogue();

// Levels a rendering to the target loudness and limits its peak.
Samples Level(Samples samples);

// Loudness of the part of `samples` that sounds (above -40 dB of the peak), in dBFS.
double SoundingRmsDb(const Samples &samples);

// 16-bit PCM mono WAV file contents, and back (empty on a malformed file).
QByteArray EncodeWav(const Samples &samples);
std::vector<std::int16_t> DecodeWav(const QByteArray &bytes);
std::vector<std::int16_t> Quantise(const Samples &samples);

} // namespace Synth
