#pragma once

// The moments of the show that have a sound of their own.
enum class SoundCue {
    Splash,
    Question1, // a question appears, by difficulty tier
    Question2,
    Question3,
    Tick,      // each of the last 20 seconds of the countdown
    Right,
    Wrong,
    Million,
    TakeMoney,
    TimeOut,
    Fifty,
    PhoneRing,
    PhoneLine,
    Audience,
    Leaderboard,
};

// The cue's file name inside the sound resources, without extension.
const char *SoundCueName(SoundCue cue);

// The question cue of a difficulty tier (1 to 3; anything else counts as 3).
SoundCue QuestionCue(int tier);
