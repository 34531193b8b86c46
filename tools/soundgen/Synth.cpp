#include "Synth.h"

#include <QtEndian>

#include <algorithm>
#include <cmath>

namespace Synth {
namespace {

constexpr double Pi = 3.14159265358979323846;

int Frames(double seconds) { return int(std::lround(seconds * SampleRate)); }

// Frequency of a note `semitones` above A4 (440 Hz).
double Note(double semitones) { return 440.0 * std::pow(2.0, semitones / 12.0); }

// Attack, decay to a sustain level, release at the end; times in seconds.
double Envelope(double t, double length, double attack, double decay, double sustain, double release)
{
    double level;
    if (t < attack)
        level = t / attack;
    else if (t < attack + decay)
        level = 1.0 - (1.0 - sustain) * (t - attack) / decay;
    else
        level = sustain;
    const double untilEnd = length - t;
    if (untilEnd < release)
        level *= std::max(0.0, untilEnd / release);
    return level;
}

// A voice with a few harmonics: `brightness` 0 is a pure sine, 1 is rich.
double Voice(double phase, double brightness)
{
    return std::sin(phase) + brightness * (0.45 * std::sin(2 * phase) + 0.25 * std::sin(3 * phase)
                                           + 0.12 * std::sin(5 * phase));
}

struct Tone {
    double start = 0;      // seconds
    double length = 0.5;   // seconds
    double freq = 440;     // Hz at the start
    double freqEnd = 0;    // Hz at the end (0: steady)
    double gain = 1.0;
    double brightness = 0.4;
    double attack = 0.01, decay = 0.15, sustain = 0.6, release = 0.2;
    double vibrato = 0;    // depth in semitones, at 5.5 Hz
};

// Mixes tones into a buffer of `seconds`.
Samples Mix(double seconds, const std::vector<Tone> &tones)
{
    Samples out(Frames(seconds), 0.0);
    for (const Tone &tone : tones) {
        const int first = Frames(tone.start);
        const int count = std::min(Frames(tone.length), int(out.size()) - first);
        double phase = 0;
        for (int i = 0; i < count; ++i) {
            const double t = double(i) / SampleRate;
            double f = tone.freqEnd > 0 ? tone.freq + (tone.freqEnd - tone.freq) * t / tone.length : tone.freq;
            if (tone.vibrato > 0)
                f *= std::pow(2.0, tone.vibrato * std::sin(2 * Pi * 5.5 * t) / 12.0);
            phase += 2 * Pi * f / SampleRate;
            out[first + i] += tone.gain * Envelope(t, tone.length, tone.attack, tone.decay, tone.sustain, tone.release)
                              * Voice(phase, tone.brightness);
        }
    }
    return out;
}

// A chord: the same envelope on several notes (semitones from A4).
void Chord(std::vector<Tone> &tones, double start, double length, std::initializer_list<double> notes,
           double gain, double brightness, double attack = 0.02, double release = 0.3)
{
    for (double n : notes) {
        Tone t;
        t.start = start;
        t.length = length;
        t.freq = Note(n);
        t.gain = gain;
        t.brightness = brightness;
        t.attack = attack;
        t.decay = length * 0.3;
        t.sustain = 0.7;
        t.release = release;
        tones.push_back(t);
    }
}

// Noise from a fixed linear congruential sequence, shaped by a resonant
// band-pass whose centre moves from `fromHz` to `toHz`.
Samples Noise(double seconds, double fromHz, double toHz, double q, std::uint32_t seed,
              const std::function<double(double)> &envelope)
{
    Samples out(Frames(seconds), 0.0);
    std::uint32_t state = seed;
    double low = 0, band = 0;
    for (int i = 0; i < int(out.size()); ++i) {
        state = state * 1664525u + 1013904223u;
        const double white = double(state >> 8) / double(1u << 24) * 2.0 - 1.0;
        const double t = double(i) / SampleRate;
        const double centre = fromHz + (toHz - fromHz) * t / seconds;
        // The filter stays stable while its coefficient is below 1 (up to
        // about a sixth of the sample rate).
        const double f = std::min(1.0, 2.0 * std::sin(Pi * centre / SampleRate));
        // State-variable filter.
        low += f * band;
        const double high = white - low - band / q;
        band += f * high;
        out[i] = band * envelope(t);
    }
    return out;
}

Samples Add(Samples a, const Samples &b, double gain = 1.0, double offset = 0.0)
{
    const int first = Frames(offset);
    if (int(a.size()) < first + int(b.size()))
        a.resize(first + b.size(), 0.0);
    for (size_t i = 0; i < b.size(); ++i)
        a[first + i] += gain * b[i];
    return a;
}

// Semitones from A4 of the notes used below.
constexpr double C4 = -9, D4 = -7, E4 = -5, F4 = -4, G4 = -2, A4 = 0, Bb4 = 1, B4 = 2, C5 = 3, D5 = 5,
                 E5 = 7, G5 = 10, A5 = 12, C6 = 15, A3 = -12, E3 = -17, C3 = -21, G3 = -14, F3 = -16,
                 D3 = -19, Bb3 = -11;

Samples Splash()
{
    std::vector<Tone> tones;
    // A rising arpeggio over a held pad: the show begins.
    const double notes[] = {C4, E4, G4, C5, E5, G5};
    for (int i = 0; i < 6; ++i)
        Chord(tones, 0.12 * i, 1.9 - 0.12 * i, {notes[i]}, 0.5, 0.5, 0.01, 0.6);
    Chord(tones, 0.0, 2.2, {C3, G3, C4}, 0.35, 0.2, 0.4, 0.8);
    return Mix(2.3, tones);
}

// The reveal of a question: brighter and higher for the easy tier, darker
// and with a pulse for the hard one.
Samples Reveal(int tier)
{
    std::vector<Tone> tones;
    if (tier == 1) {
        Chord(tones, 0.0, 0.9, {C4, E4, G4, C5}, 0.4, 0.5, 0.01, 0.4);
    } else if (tier == 2) {
        Chord(tones, 0.0, 1.1, {D4, G4, A4, D5}, 0.4, 0.45, 0.02, 0.5);
        Chord(tones, 0.55, 0.55, {D3}, 0.5, 0.3, 0.01, 0.3);
    } else {
        Chord(tones, 0.0, 1.3, {A3, C4, E4, A4}, 0.4, 0.35, 0.04, 0.6);
        for (int i = 0; i < 3; ++i)
            Chord(tones, 0.35 * i, 0.25, {A3 - 12}, 0.7, 0.6, 0.005, 0.15);
    }
    return Mix(tier == 3 ? 1.35 : 1.15, tones);
}

Samples Tick()
{
    std::vector<Tone> tones;
    Tone t;
    t.length = 0.07;
    t.freq = 1800;
    t.freqEnd = 1200;
    t.brightness = 0.2;
    t.attack = 0.001;
    t.decay = 0.03;
    t.sustain = 0.2;
    t.release = 0.03;
    tones.push_back(t);
    return Mix(0.08, tones);
}

Samples Right()
{
    std::vector<Tone> tones;
    Chord(tones, 0.0, 0.25, {G4}, 0.6, 0.5, 0.005, 0.1);
    Chord(tones, 0.18, 0.95, {C5, E5, G5}, 0.45, 0.5, 0.01, 0.5);
    Chord(tones, 0.18, 0.95, {C4}, 0.4, 0.3, 0.01, 0.5);
    return Mix(1.2, tones);
}

Samples Wrong()
{
    std::vector<Tone> tones;
    // Two falling tones a semitone apart, rubbing: the dream is over.
    Tone a;
    a.length = 1.3;
    a.freq = Note(E3);
    a.freqEnd = Note(E3 - 3);
    a.brightness = 0.9;
    a.attack = 0.02;
    a.decay = 0.4;
    a.sustain = 0.5;
    a.release = 0.5;
    a.gain = 0.6;
    Tone b = a;
    b.freq = Note(F3);
    b.freqEnd = Note(F3 - 3);
    tones = {a, b};
    return Mix(1.35, tones);
}

Samples Million()
{
    std::vector<Tone> tones;
    // Fanfare: three calls, then the big chord with a shimmer on top.
    Chord(tones, 0.0, 0.22, {C5, E5}, 0.45, 0.8, 0.005, 0.08);
    Chord(tones, 0.25, 0.22, {C5, E5}, 0.45, 0.8, 0.005, 0.08);
    Chord(tones, 0.5, 0.22, {D5, G5}, 0.45, 0.8, 0.005, 0.08);
    Chord(tones, 0.78, 2.4, {C4, G4, C5, E5, G5, C6}, 0.3, 0.7, 0.02, 1.0);
    Chord(tones, 0.78, 2.4, {C3}, 0.4, 0.4, 0.02, 1.0);
    Samples out = Mix(3.3, tones);
    return Add(out, Noise(2.2, 3000, 3500, 4.0, 7u, [](double t) { return 0.15 * std::exp(-t * 1.2) * (1.0 - t / 2.2); }), 1.0, 0.8);
}

Samples TakeMoney()
{
    std::vector<Tone> tones;
    // A bell and a warm resolving chord.
    for (double n : {C6, G5 + 12}) {
        Tone t;
        t.length = 1.0;
        t.freq = Note(n);
        t.brightness = 0.1;
        t.attack = 0.002;
        t.decay = 0.6;
        t.sustain = 0.1;
        t.release = 0.4;
        t.gain = 0.35;
        tones.push_back(t);
    }
    Chord(tones, 0.15, 1.1, {F4, A4, C5}, 0.35, 0.4, 0.05, 0.5);
    Chord(tones, 0.15, 1.1, {F3}, 0.35, 0.3, 0.05, 0.5);
    return Mix(1.3, tones);
}

Samples TimeOut()
{
    std::vector<Tone> tones;
    // A low gong: inharmonic partials that fade at different rates.
    const double partials[][2] = {{1.0, 0.6}, {2.76, 0.3}, {5.4, 0.15}, {8.9, 0.08}};
    for (const auto &p : partials) {
        Tone t;
        t.length = 1.8;
        t.freq = Note(C3) * p[0];
        t.brightness = 0.0;
        t.attack = 0.005;
        t.decay = 1.2 / p[0];
        t.sustain = 0.05;
        t.release = 0.5;
        t.gain = p[1];
        tones.push_back(t);
    }
    return Mix(1.9, tones);
}

Samples Fifty()
{
    // Two quick swooshes: two answers fly away.
    auto swoosh = [](double t) { return std::sin(Pi * std::min(1.0, t / 0.3)); };
    Samples out = Noise(0.3, 600, 4000, 3.0, 11u, swoosh);
    out = Add(out, Noise(0.3, 700, 4500, 3.0, 23u, swoosh), 1.0, 0.3);
    std::vector<Tone> tones;
    Chord(tones, 0.6, 0.3, {E5}, 0.25, 0.2, 0.005, 0.2);
    return Add(out, Mix(0.9, tones));
}

Samples PhoneRing()
{
    // Two bursts of a ringing bell: two tones switched at 20 Hz.
    Samples out(Frames(2.2), 0.0);
    for (int i = 0; i < int(out.size()); ++i) {
        const double t = double(i) / SampleRate;
        const double inBurst = std::fmod(t, 1.1);
        if (inBurst > 0.8)
            continue;
        const double gate = std::sin(2 * Pi * 20 * t) > 0 ? 1.0 : 0.35;
        const double edge = std::min({1.0, inBurst / 0.01, (0.8 - inBurst) / 0.02});
        out[i] = edge * gate * (0.5 * std::sin(2 * Pi * 440 * t) + 0.5 * std::sin(2 * Pi * 480 * t));
    }
    return out;
}

Samples PhoneLine()
{
    // The line opens: three short beeps and a click.
    Samples out(Frames(1.0), 0.0);
    for (int i = 0; i < int(out.size()); ++i) {
        const double t = double(i) / SampleRate;
        const double inBeep = std::fmod(t, 0.25);
        if (t > 0.75 || inBeep > 0.15)
            continue;
        const double edge = std::min({1.0, inBeep / 0.005, (0.15 - inBeep) / 0.005});
        out[i] = 0.6 * edge * std::sin(2 * Pi * 425 * t);
    }
    return Add(out, Noise(0.05, 2000, 2000, 1.0, 5u, [](double t) { return std::exp(-t * 80); }), 1.5, 0.85);
}

Samples Audience()
{
    // The studio votes: a murmur that swells and settles, with a soft chime.
    auto murmur = [](double t) { return std::sin(Pi * std::min(1.0, t / 2.0)) * 0.9; };
    Samples out = Noise(2.0, 350, 500, 2.0, 31u, murmur);
    out = Add(out, Noise(2.0, 900, 700, 2.5, 47u, murmur), 0.6);
    std::vector<Tone> tones;
    Chord(tones, 1.5, 0.6, {A4, E5}, 0.15, 0.2, 0.01, 0.4);
    return Add(out, Mix(2.1, tones));
}

Samples Leaderboard()
{
    std::vector<Tone> tones;
    // A gentle closing cadence.
    Chord(tones, 0.0, 0.6, {Bb3, D4, F4}, 0.35, 0.35, 0.03, 0.3);
    Chord(tones, 0.5, 1.3, {C4, E4, G4, C5}, 0.35, 0.35, 0.03, 0.7);
    return Mix(1.9, tones);
}

void PutLe16(QByteArray &out, std::uint16_t v)
{
    char b[2];
    qToLittleEndian(v, b);
    out.append(b, 2);
}

void PutLe32(QByteArray &out, std::uint32_t v)
{
    char b[4];
    qToLittleEndian(v, b);
    out.append(b, 4);
}

} // namespace

std::vector<CueRecipe> Catalogue()
{
    return {
        {QStringLiteral("splash"), QStringLiteral("the banner at start: a rising arpeggio"), [] { return Level(Splash()); }},
        {QStringLiteral("question1"), QStringLiteral("a question of tier 1 appears: bright chord"), [] { return Level(Reveal(1)); }},
        {QStringLiteral("question2"), QStringLiteral("a question of tier 2 appears: open chord"), [] { return Level(Reveal(2)); }},
        {QStringLiteral("question3"), QStringLiteral("a question of tier 3 appears: dark chord with a pulse"), [] { return Level(Reveal(3)); }},
        {QStringLiteral("tick"), QStringLiteral("each of the last 20 seconds of the countdown"), [] { return Level(Tick()); }},
        {QStringLiteral("right"), QStringLiteral("a right answer"), [] { return Level(Right()); }},
        {QStringLiteral("wrong"), QStringLiteral("a wrong answer"), [] { return Level(Wrong()); }},
        {QStringLiteral("million"), QStringLiteral("the million won: fanfare"), [] { return Level(Million()); }},
        {QStringLiteral("takemoney"), QStringLiteral("taking the money: bell and chord"), [] { return Level(TakeMoney()); }},
        {QStringLiteral("timeout"), QStringLiteral("the time ran out: gong"), [] { return Level(TimeOut()); }},
        {QStringLiteral("fifty"), QStringLiteral("fifty-fifty: two answers fly away"), [] { return Level(Fifty()); }},
        {QStringLiteral("phonering"), QStringLiteral("phone-a-friend: the phone rings"), [] { return Level(PhoneRing()); }},
        {QStringLiteral("phoneline"), QStringLiteral("phone-a-friend: the line opens"), [] { return Level(PhoneLine()); }},
        {QStringLiteral("audience"), QStringLiteral("ask-the-audience: the vote"), [] { return Level(Audience()); }},
        {QStringLiteral("leaderboard"), QStringLiteral("the leaderboard comes up"), [] { return Level(Leaderboard()); }},
    };
}

double SoundingRmsDb(const Samples &samples)
{
    double peak = 0;
    for (double s : samples)
        peak = std::max(peak, std::abs(s));
    if (peak <= 0)
        return -200.0;
    // Windows of 10 ms that sound: their mean square above -40 dB of the peak.
    const int window = SampleRate / 100;
    double sum = 0;
    long count = 0;
    for (size_t at = 0; at + window <= samples.size(); at += window) {
        double ms = 0;
        for (int i = 0; i < window; ++i)
            ms += samples[at + i] * samples[at + i];
        ms /= window;
        if (ms > peak * peak * 1e-4) {
            sum += ms * window;
            count += window;
        }
    }
    return count ? 10.0 * std::log10(sum / count) : -200.0;
}

Samples Level(Samples samples)
{
    const double gain = std::pow(10.0, (TargetRmsDb - SoundingRmsDb(samples)) / 20.0);
    const double limit = std::pow(10.0, PeakLimitDb / 20.0);
    for (double &s : samples) {
        s *= gain;
        // A soft knee above half the limit keeps loud peaks round instead of
        // clipping them.
        const double knee = 0.5 * limit;
        const double a = std::abs(s);
        if (a > knee)
            s = std::copysign(knee + (limit - knee) * std::tanh((a - knee) / (limit - knee)), s);
    }
    // Fade the first and last millisecond, so no cue starts or ends with a click.
    const int fade = SampleRate / 1000;
    for (int i = 0; i < fade && i < int(samples.size()); ++i) {
        samples[i] *= double(i) / fade;
        samples[samples.size() - 1 - i] *= double(i) / fade;
    }
    return samples;
}

std::vector<std::int16_t> Quantise(const Samples &samples)
{
    std::vector<std::int16_t> out;
    out.reserve(samples.size());
    for (double s : samples)
        out.push_back(std::int16_t(std::lround(std::clamp(s, -1.0, 1.0) * 32767.0)));
    return out;
}

QByteArray EncodeWav(const Samples &samples)
{
    const std::vector<std::int16_t> pcm = Quantise(samples);
    const std::uint32_t dataBytes = std::uint32_t(pcm.size() * 2);
    QByteArray out;
    out.append("RIFF");
    PutLe32(out, 36 + dataBytes);
    out.append("WAVEfmt ");
    PutLe32(out, 16);
    PutLe16(out, 1); // PCM
    PutLe16(out, 1); // mono
    PutLe32(out, SampleRate);
    PutLe32(out, SampleRate * 2);
    PutLe16(out, 2);
    PutLe16(out, 16);
    out.append("data");
    PutLe32(out, dataBytes);
    for (std::int16_t s : pcm)
        PutLe16(out, std::uint16_t(s));
    return out;
}

std::vector<std::int16_t> DecodeWav(const QByteArray &bytes)
{
    if (bytes.size() < 44 || !bytes.startsWith("RIFF") || bytes.mid(8, 8) != "WAVEfmt "
        || bytes.mid(36, 4) != "data")
        return {};
    const std::uint32_t dataBytes = qFromLittleEndian<std::uint32_t>(bytes.constData() + 40);
    if (dataBytes > std::uint32_t(bytes.size() - 44))
        return {};
    std::vector<std::int16_t> out(dataBytes / 2);
    for (size_t i = 0; i < out.size(); ++i)
        out[i] = qFromLittleEndian<std::int16_t>(bytes.constData() + 44 + 2 * i);
    return out;
}

} // namespace Synth
