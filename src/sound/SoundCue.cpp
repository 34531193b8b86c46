#include "sound/SoundCue.h"

const char *SoundCueName(SoundCue cue)
{
    switch (cue) {
    case SoundCue::Splash: return "splash";
    case SoundCue::Question1: return "question1";
    case SoundCue::Question2: return "question2";
    case SoundCue::Question3: return "question3";
    case SoundCue::Tick: return "tick";
    case SoundCue::Right: return "right";
    case SoundCue::Wrong: return "wrong";
    case SoundCue::Million: return "million";
    case SoundCue::TakeMoney: return "takemoney";
    case SoundCue::TimeOut: return "timeout";
    case SoundCue::Fifty: return "fifty";
    case SoundCue::PhoneRing: return "phonering";
    case SoundCue::PhoneLine: return "phoneline";
    case SoundCue::Audience: return "audience";
    case SoundCue::Leaderboard: return "leaderboard";
    }
    return "";
}

SoundCue QuestionCue(int tier)
{
    return tier == 1 ? SoundCue::Question1 : tier == 2 ? SoundCue::Question2 : SoundCue::Question3;
}
